// Golden run: a seeded evolution of 50 epochs whose every observable result
// (scores to the last bit, the three engine logs, every member's genome at a
// few generations, the innovation database, the population file) must match
// the files kept in tests/datos/dorado byte for byte. Speed work on the
// library may change how results are computed, never the results, the draws
// or the formats.
//
// To write the files afresh after a deliberate change of behaviour, run this
// test with NEAT_DORADO_REGENERAR=1 and review the diff before committing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "DebugLib/LogUtils/CLog.h"
#include "DebugLib/Random/Random.h"
#include "NEAT/CAlgoritmoGenetico.h"

#ifndef NEAT_DATOS_DORADO
#error "NEAT_DATOS_DORADO must name the directory of the golden files"
#endif

// The engine's own way in for tests: the database is private.
class CPruebaAlgoritmoGenetico {
public:
    static const CInnovacion& BD(const CAlgoritmoGenetico& ag) { return *ag.m_pBDInnovaciones; }
};

namespace {

const unsigned int kSemilla = 1208;
const int kPoblacion = 100;
const int kEpocas = 50;
const int kEntradas = 3;
const int kSalidas = 2;
const int kVolcados[] = {1, 10, 25, 50};

typedef std::map<std::string, std::string> TFicheros;

class CIndividuo : public IIndividuoIA {
public:
    CGenoma& Genoma() { return *m_pGenoma; }
};

void Anyadir(std::string& s, const char* szFormato, ...)
{
    char szLinea[512];
    va_list args;
    va_start(args, szFormato);
    std::vsnprintf(szLinea, sizeof szLinea, szFormato, args);
    va_end(args);
    s += szLinea;
}

// Scoring from both evaluation modes on the eight 3-bit patterns; the
// targets are the parity and the majority of the bits. The stepwise calls
// carry their state from pattern to pattern.
double Puntuar(CGenoma& genoma)
{
    CRedNeuronal& red = const_cast<CRedNeuronal&>(*genoma.CrearFenotipo());
    double dErrorInst = 0.0, dErrorPaso = 0.0;
    for (int nCaso = 0; nCaso < 8; ++nCaso) {
        const int a = nCaso & 1, b = (nCaso >> 1) & 1, c = (nCaso >> 2) & 1;
        const TVecDoubles vEntradas = {double(a), double(b), double(c)};
        const double dParidad = (a + b + c) % 2, dMayoria = (a + b + c) >= 2;
        const TVecDoubles vInst = red.Actualizar(vEntradas, Ejecucion_Instantanea);
        dErrorInst += std::fabs(vInst[0] - dParidad) + std::fabs(vInst[1] - dMayoria);
        TVecDoubles vPaso;
        for (int nPaso = 0; nPaso < 3; ++nPaso)
            vPaso = red.Actualizar(vEntradas, Ejecucion_PasoDinamico);
        dErrorPaso += std::fabs(vPaso[0] - dParidad) + std::fabs(vPaso[1] - dMayoria);
    }
    return (16.0 - dErrorInst) * (16.0 - dErrorInst) + (16.0 - dErrorPaso);
}

void VolcarGenoma(std::string& s, const CGenoma& g)
{
    Anyadir(s, "genoma %u especie %u entradas %u salidas %u idoneidad %.17g hijos %.17g ajustada %.17g\n", g.GetID(),
            g.GetEspecie(), g.GetNumEntradas(), g.GetNumSalidas(), g.GetIdoneidad(), g.GetNumHijosAExpandir(),
            g.GetIdoneidadAjustada());
    for (const SGenNeurona& n : g.GetGenesNeurona())
        Anyadir(s, "n %d %d %d %.17g %.17g %.17g\n", n.nID, int(n.Tipo), int(n.bRecurrente), n.dCurvaturaActivacion,
                n.dSplitX, n.dSplitY);
    for (const SGenEnlace& e : g.GetGenesEnlace())
        Anyadir(s, "e %d %d %.17g %d %d %d\n", e.nIDNeuronaInicio, e.nIDNeuronaFin, e.dPeso, int(e.bHabilitado),
                int(e.bRecurrente), e.nIDInnovacion);
}

void VolcarCabeceraBD(std::string& s, const CInnovacion& bd)
{
    Anyadir(s, "bd registros %d siginnovacion %d signeurona %d\n", int(bd.GetBDInnovaciones().size()),
            bd.GetSigIDInnovacion(), bd.GetSigIDNeurona());
}

std::string VolcarBD(const CInnovacion& bd)
{
    std::string s;
    VolcarCabeceraBD(s, bd);
    for (const SInnovacion& r : bd.GetBDInnovaciones())
        Anyadir(s, "r %d %d %d %d %d %d %.17g %.17g\n", r.nID, int(r.tipo), r.nIDNeuronaInicio, r.nIDNeuronaFin,
                r.nIDNeurona, int(r.tipoNeurona), r.dSplitX, r.dSplitY);
    return s;
}

std::string LeerFichero(const std::string& sRuta)
{
    std::ifstream in(sRuta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool EsVolcado(int nGeneracion)
{
    for (int n : kVolcados)
        if (n == nGeneracion)
            return true;
    return false;
}

// The whole run; every result lands in a named text.
TFicheros Correr(unsigned int nSemilla, const std::string& sDirLogs)
{
    TFicheros mFicheros;
    SetSemillaRandom(nSemilla);
    CAlgoritmoGenetico ag;
    ag.Inicializar(kEntradas, kSalidas);
    // Faster growth and earlier removal of stale species than the defaults,
    // so that fifty epochs reach every branch of the breeding code.
    ag.SetProbabilidadAnyadirNeurona(0.4);
    ag.SetProbabilidadAnyadirEnlace(0.8);
    ag.SetMaxEpocasPermitidasSinMejora(8);
    const std::string sLogs[3] = {sDirLogs + "/especies.txt", sDirLogs + "/genes.txt", sDirLogs + "/ag.txt"};
    ag.SetLogEspecies(new CLog(sLogs[0], "w"));
    ag.SetLogGenes(new CLog(sLogs[1], "w"));
    ag.SetLogAG(new CLog(sLogs[2], "w"));

    std::vector<CIndividuo> vIndividuos(kPoblacion);
    TPoblacionIA vPoblacion;
    for (CIndividuo& individuo : vIndividuos) {
        ag.CrearMente(&individuo);
        vPoblacion.push_back(&individuo);
    }

    std::string& sPuntuaciones = mFicheros["puntuaciones.txt"];
    for (int nEpoca = 1; nEpoca <= kEpocas; ++nEpoca) {
        for (CIndividuo& individuo : vIndividuos) {
            individuo.SetPuntuacion(Puntuar(individuo.Genoma()));
            Anyadir(sPuntuaciones, "%.17g\n", individuo.GetPuntuacion());
        }
        ag.Epoca(vPoblacion);
        if (EsVolcado(nEpoca)) {
            char szNombre[64];
            std::snprintf(szNombre, sizeof szNombre, "generacion_%02d.txt", nEpoca);
            std::string& s = mFicheros[szNombre];
            for (const CIndividuo& individuo : vIndividuos)
                VolcarGenoma(s, *individuo.GetGenoma());
            VolcarCabeceraBD(s, CPruebaAlgoritmoGenetico::BD(ag));
        }
    }

    // The best networks of the last ranking, evaluated once more.
    std::string& sMejores = mFicheros["mejores.txt"];
    for (const CRedNeuronal* pRed : ag.GetMejoresFenotipos()) {
        CRedNeuronal& red = const_cast<CRedNeuronal&>(*pRed);
        for (double d : red.Actualizar({1.0, 0.0, 1.0}, Ejecucion_Instantanea))
            Anyadir(sMejores, "%.17g\n", d);
    }

    mFicheros["bd_final.txt"] = VolcarBD(CPruebaAlgoritmoGenetico::BD(ag));
    const std::string sPoblacion = sDirLogs + "/poblacion.bin";
    ag.SalvarPoblacion(vPoblacion, sPoblacion.c_str(), 'k');
    mFicheros["poblacion_final.bin"] = LeerFichero(sPoblacion);

    for (CIndividuo& individuo : vIndividuos)
        individuo.BorrarGenoma();
    ag.Limpiar();  // deletes the logs, so that their files are complete
    mFicheros["log_especies.txt"] = LeerFichero(sLogs[0]);
    mFicheros["log_genes.txt"] = LeerFichero(sLogs[1]);
    mFicheros["log_ag.txt"] = LeerFichero(sLogs[2]);
    return mFicheros;
}

std::string PrimeraDiferencia(const std::string& sEsperado, const std::string& sObtenido)
{
    std::istringstream e(sEsperado), o(sObtenido);
    std::string sLe, sLo;
    for (int nLinea = 1;; ++nLinea) {
        const bool bE = static_cast<bool>(std::getline(e, sLe));
        const bool bO = static_cast<bool>(std::getline(o, sLo));
        if (!bE && !bO)
            return "mismo texto por lineas, distinto byte a byte";
        if (!bE || !bO || sLe != sLo)
            return "linea " + std::to_string(nLinea) + ": esperaba [" + (bE ? sLe : "<fin>") + "] obtuve [" +
                   (bO ? sLo : "<fin>") + "]";
    }
}

std::string DirTemporal()
{
    std::string sPlantilla = testing::TempDir() + "dorado_XXXXXX";
    std::vector<char> v(sPlantilla.begin(), sPlantilla.end());
    v.push_back('\0');
    const char* szDir = mkdtemp(v.data());
    return szDir ? std::string(szDir) : std::string();
}

void CompararConDorado(const TFicheros& mObtenidos)
{
    const std::string sDir = NEAT_DATOS_DORADO;
    if (std::getenv("NEAT_DORADO_REGENERAR")) {
        for (const auto& f : mObtenidos) {
            std::ofstream out(sDir + "/" + f.first, std::ios::binary | std::ios::trunc);
            out << f.second;
            ASSERT_TRUE(out.flush()) << sDir << "/" << f.first;
        }
        GTEST_SKIP() << "ficheros dorados escritos en " << sDir;
    }
    for (const auto& f : mObtenidos) {
        const std::string sEsperado = LeerFichero(sDir + "/" + f.first);
        ASSERT_FALSE(sEsperado.empty()) << "falta o esta vacio " << sDir << "/" << f.first;
        EXPECT_TRUE(sEsperado == f.second) << f.first << ": " << PrimeraDiferencia(sEsperado, f.second);
    }
}

}  // namespace

TEST(Dorado, CorridaSembradaCoincideConLosFicheros)
{
    const std::string sDir = DirTemporal();
    ASSERT_FALSE(sDir.empty());
    CompararConDorado(Correr(kSemilla, sDir));
}

// A run before the golden one must leave nothing behind that changes it
// (caches or counters kept outside the engine's own state).
TEST(Dorado, OtraCorridaAntesNoLoAltera)
{
    const std::string sDir = DirTemporal();
    ASSERT_FALSE(sDir.empty());
    Correr(kSemilla + 1, sDir);
    const TFicheros mObtenidos = Correr(kSemilla, sDir);
    if (std::getenv("NEAT_DORADO_REGENERAR"))
        GTEST_SKIP();
    CompararConDorado(mObtenidos);
}
