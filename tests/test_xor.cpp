// End to end: a small training program evolves networks for XOR from a fixed
// seed and checks the run's invariants after every epoch.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DebugLib/Random/Random.h"
#include "NEAT/CAlgoritmoGenetico.h"

namespace {

const std::size_t kTamPoblacion = 150;
const int kMaxGeneraciones = 1000;
const unsigned int kSemilla = 2031u;
const char* kSinFenotipo = "Los fenotipos deben crearse antes de tratar de obtenerlos.";

class CIndividuoXor : public IIndividuoIA {
public:
    ~CIndividuoXor() { BorrarGenoma(); }
    CGenoma* Genoma() { return m_pGenoma; }
};

// Score (4 - total error)^2; bResuelto when every output lies on the right
// side of 0.5.
double Evaluar(CGenoma& genoma, bool& bResuelto)
{
    static const double casos[4][3] = {{0, 0, 0}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}};
    CRedNeuronal* pRed = const_cast<CRedNeuronal*>(genoma.CrearFenotipo());
    double dError = 0.0;
    bResuelto = true;
    for (const auto& caso : casos) {
        const TVecDoubles vEntradas = {caso[0], caso[1]};
        const TVecDoubles& vSalidas = pRed->Actualizar(vEntradas, Ejecucion_Instantanea);
        if (vSalidas.size() != 1 || std::isnan(vSalidas[0])) {
            bResuelto = false;
            return 0.0;
        }
        dError += std::fabs(vSalidas[0] - caso[2]);
        bResuelto = bResuelto && ((vSalidas[0] > 0.5) == (caso[2] > 0.5));
    }
    return (4.0 - dError) * (4.0 - dError);
}

std::size_t Ocurrencias(const std::string& sTexto, const std::string& sPatron)
{
    std::size_t n = 0;
    for (std::size_t p = sTexto.find(sPatron); p != std::string::npos; p = sTexto.find(sPatron, p + 1))
        ++n;
    return n;
}

class Xor : public ::testing::Test {
protected:
    Xor()
    {
        SetSemillaRandom(kSemilla);
        m_ag.Inicializar(2, 1);
        for (std::size_t i = 0; i < kTamPoblacion; ++i) {
            m_vIndividuos.emplace_back(new CIndividuoXor);
            m_vPoblacion.push_back(m_vIndividuos.back().get());
            m_ag.CrearMente(m_vIndividuos.back().get());
            m_sVistos.insert(m_vIndividuos.back()->GetGenoma()->GetID());
        }
    }

    // Evaluates every member; true when one of them solves XOR.
    bool EvaluarGeneracion()
    {
        bool bAlguno = false;
        for (auto& pIndividuo : m_vIndividuos) {
            bool bResuelto = false;
            pIndividuo->SetPuntuacion(Evaluar(*pIndividuo->Genoma(), bResuelto));
            bAlguno = bAlguno || bResuelto;
        }
        return bAlguno;
    }

    // After an epoch: every member holds a genome of the right shape without
    // a phenotype; each id is either an old one (a copy) or a fresh one above
    // every id seen before, held by that genome alone.
    void ComprobarInvariantes()
    {
        ASSERT_EQ(m_vPoblacion.size(), kTamPoblacion);
        const unsigned int nMaxVisto = *m_sVistos.rbegin();
        std::set<unsigned int> sIDs;
        testing::internal::CaptureStderr();
        for (auto& pIndividuo : m_vIndividuos) {
            const CGenoma* pGenoma = pIndividuo->GetGenoma();
            ASSERT_NE(pGenoma, nullptr);
            EXPECT_EQ(pGenoma->GetFenotipo(), nullptr);
            EXPECT_EQ(pGenoma->GetNumEntradas(), 2u);
            EXPECT_EQ(pGenoma->GetNumSalidas(), 1u);
            // Copies (elite, leaders, tournament picks) share their source's
            // id; a bred genome's id is new and is given once.
            const unsigned int nID = pGenoma->GetID();
            const bool bNuevo = nID > nMaxVisto;
            EXPECT_TRUE(bNuevo || m_sVistos.count(nID)) << "id " << nID;
            EXPECT_TRUE(sIDs.insert(nID).second || !bNuevo) << "id nuevo repetido " << nID;
            EXPECT_NE(nID, kTamPoblacion) << "the id after CrearMente's is never handed out";
        }
        const std::string sErrores = testing::internal::GetCapturedStderr();
        EXPECT_EQ(Ocurrencias(sErrores, kSinFenotipo), kTamPoblacion);
        m_sVistos.insert(sIDs.begin(), sIDs.end());
    }

    CAlgoritmoGenetico m_ag;
    std::vector<std::unique_ptr<CIndividuoXor>> m_vIndividuos;
    TPoblacionIA m_vPoblacion;
    std::set<unsigned int> m_sVistos;
};

}  // namespace

TEST_F(Xor, EvolucionaHastaResolverlo)
{
    int nGeneracion = 0;
    while (!EvaluarGeneracion()) {
        ASSERT_LT(nGeneracion, kMaxGeneraciones) << "XOR not solved";
        m_ag.Epoca(m_vPoblacion);
        ++nGeneracion;
        ASSERT_EQ(m_ag.GetGeneracion(), nGeneracion);
        ComprobarInvariantes();
        if (HasFatalFailure() || HasFailure())
            return;
    }
    RecordProperty("generaciones", nGeneracion);
    std::printf("XOR resuelto en %d generaciones\n", nGeneracion);

    // The best networks of the last epoch run.
    if (nGeneracion > 0) {
        const TFenotipos vMejores = m_ag.GetMejoresFenotipos();
        EXPECT_EQ(vMejores.size(), 2u);
    }
}
