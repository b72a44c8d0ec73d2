// The population file of CAlgoritmoGenetico: the generation, every genome
// and the innovation database as text, each byte shifted by the caller's key.

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <locale>
#include <new>
#include <sstream>

#include "CAlgoritmoGenetico.h"
#include "IDsGenoma.h"
#include "LecturaTexto.h"

#include "Comun/ArchivoEntero.h"

namespace {

// The writer ends every value with a line feed: a text whose last value
// reaches the very end was cut, possibly inside that value's digits.
bool SoloEspaciosAlFinal(std::istream& in)
{
    if (in.eof())
        return false;
    in >> std::ws;
    return in.eof();
}

std::string Desplazar(const std::string& sTexto, int nDesplazamiento)
{
    std::string sResultado(sTexto);
    for (char& c : sResultado)
        c = static_cast<char>(static_cast<unsigned char>(static_cast<unsigned char>(c) + nDesplazamiento));
    return sResultado;
}

bool LeerFichero(const char* szRuta, std::string& sContenido, bool& bAbierto)
{
    std::FILE* pFichero = std::fopen(szRuta, "rb");
    bAbierto = (pFichero != nullptr);
    if (!pFichero)
        return false;
    std::string s;
    char buffer[4096];
    std::size_t nLeidos;
    while ((nLeidos = std::fread(buffer, 1, sizeof(buffer), pFichero)) > 0)
        s.append(buffer, nLeidos);
    const bool bCorrecto = !std::ferror(pFichero);
    if (std::fclose(pFichero) != 0 || !bCorrecto)
        return false;
    sContenido.swap(s);
    return true;
}

// All or nothing: a failed allocation frees the genomes already made.
std::vector<CGenoma*> ReservarGenomas(std::size_t nGenomas)
{
    std::vector<CGenoma*> vGenomas;
    for (std::size_t i = 0; i < nGenomas; ++i) {
        CGenoma* pGenoma = new (std::nothrow) CGenoma();
        if (!pGenoma) {
            for (CGenoma* p : vGenomas)
                delete p;
            std::fprintf(stderr, "ERROR GRAVE(%s,%d): No se pudo reservar memoria para nuevos CGenomas.\n", __FILE__,
                         __LINE__);
            std::exit(-1);
        }
        vGenomas.push_back(pGenoma);
    }
    return vGenomas;
}

[[noreturn]] void ErrorFicheroEntrada(int nLinea, const char* szFichero, const std::string& sMotivo)
{
    std::fprintf(stderr,
                 "ERROR(%s,%d): El fichero de entrada (%s) no contiene una poblaci"
                 "\xF3"
                 "n v"
                 "\xE1"
                 "lida: %s.\n",
                 __FILE__, nLinea, szFichero, sMotivo.c_str());
    std::exit(-1);
}

}  // namespace

bool LeerCabeceraPoblacion(std::istream& in, int& nGeneracion, unsigned int& nIndividuos, std::string& sMotivo)
{
    long long nGen = 0, nTam = 0;
    if (!LecturaTexto::LeerEntero(in, INT_MIN, INT_MAX, nGen) || !LecturaTexto::LeerEntero(in, 0, UINT_MAX, nTam)) {
        in.setstate(std::ios::failbit);
        sMotivo =
            "la cabecera (generaci"
            "\xF3"
            "n y n"
            "\xFA"
            "mero de individuos) est"
            "\xE1"
            " da"
            "\xF1"
            "ada";
        return false;
    }
    nGeneracion = static_cast<int>(nGen);
    nIndividuos = static_cast<unsigned int>(nTam);
    return true;
}

bool LeerCuerpoPoblacion(std::istream& in, unsigned int nIndividuos, std::vector<CGenoma>& vGenomas,
                         CInnovacion& BDInnovaciones, std::string& sMotivo)
{
    std::vector<CGenoma> vLeidos;
    for (unsigned int i = 0; i < nIndividuos; ++i) {
        CGenoma genoma;
        if (!LeerGenoma(in, genoma)) {
            sMotivo = MotivoGenomaDanyado("el genoma " + std::to_string(i));
            return false;
        }
        vLeidos.push_back(genoma);
    }
    CInnovacion bd{CGenoma()};
    if (!LeerInnovaciones(in, bd, sMotivo))
        return false;
    if (!SoloEspaciosAlFinal(in)) {
        in.setstate(std::ios::failbit);
        sMotivo = in.eof() ? "el texto acaba a mitad de un valor" : "sobra texto tras la base de datos de innovaciones";
        return false;
    }
    for (unsigned int i = 0; i < vLeidos.size(); ++i) {
        if (!IDsConocidos(vLeidos[i], bd)) {
            in.setstate(std::ios::failbit);
            sMotivo = MotivoIDsDesconocidos("el genoma " + std::to_string(i));
            return false;
        }
    }
    vGenomas.swap(vLeidos);
    BDInnovaciones = bd;
    return true;
}

bool LeerTextoPoblacion(const std::string& sTexto, int& nGeneracion, std::vector<CGenoma>& vGenomas,
                        CInnovacion& BDInnovaciones, std::string& sMotivo)
{
    std::istringstream in(sTexto);
    int nGen = 0;
    unsigned int nIndividuos = 0;
    if (!LeerCabeceraPoblacion(in, nGen, nIndividuos, sMotivo) ||
        !LeerCuerpoPoblacion(in, nIndividuos, vGenomas, BDInnovaciones, sMotivo))
        return false;
    nGeneracion = nGen;
    return true;
}

std::string CAlgoritmoGenetico::TextoPoblacion(const TPoblacionIA& vPoblacion) const
{
    std::ostringstream texto;
    texto.imbue(std::locale::classic());
    texto << m_nGeneracion << '\n' << static_cast<unsigned int>(vPoblacion.size()) << '\n';
    for (const IIndividuoIA* pIndividuo : vPoblacion)
        texto << *pIndividuo->GetGenoma() << '\n';
    texto << *m_pBDInnovaciones;
    return texto.str();
}

void CAlgoritmoGenetico::SalvarPoblacion(const TPoblacionIA& vPoblacion, const char* ficheroSalida, char keyChar) const
{
    const std::string sCifrado = Desplazar(TextoPoblacion(vPoblacion), static_cast<unsigned char>(keyChar));
    std::string sError;
    if (!EscribirArchivoEntero(ficheroSalida, sCifrado, sError)) {
        std::fprintf(stderr, "ERROR: No se pudo abrir el fichero de salida (%s).\n", ficheroSalida);
        std::exit(-1);
    }
}

void CAlgoritmoGenetico::RecuperarPoblacion(TPoblacionIA& vPoblacion, const char* ficheroEntrada, char keyChar)
{
    std::string sCifrado;
    bool bAbierto = false;
    if (!LeerFichero(ficheroEntrada, sCifrado, bAbierto)) {
        if (!bAbierto) {
            std::fprintf(stderr, "ERROR(%s,%d): No se pudo abrir el fichero de entrada (%s).\n", __FILE__, __LINE__,
                         ficheroEntrada);
            std::exit(-1);
        }
        std::fprintf(stderr, "ERROR(%s,%d): No se pudo leer el fichero de entrada (%s).\n", __FILE__, __LINE__,
                     ficheroEntrada);
        std::exit(-1);
    }
    std::istringstream in(Desplazar(sCifrado, -static_cast<int>(static_cast<unsigned char>(keyChar))));

    // Everything is read and checked before the population or the database
    // changes; the count is checked before any genome is read.
    int nGeneracion = 0;
    unsigned int nIndividuos = 0;
    std::string sMotivo;
    if (!LeerCabeceraPoblacion(in, nGeneracion, nIndividuos, sMotivo))
        ErrorFicheroEntrada(__LINE__, ficheroEntrada, sMotivo);
    if (vPoblacion.size() < nIndividuos) {
        std::fprintf(stderr,
                     "ERROR INTERNO(%s,%d): El vector de poblacion tiene menos individuos (%zu) de los que hay en el "
                     "archivo (%u).\n",
                     __FILE__, __LINE__, vPoblacion.size(), nIndividuos);
        std::exit(-1);
    }
    std::vector<CGenoma> vGenomas;
    CInnovacion bd{CGenoma()};
    if (!LeerCuerpoPoblacion(in, nIndividuos, vGenomas, bd, sMotivo))
        ErrorFicheroEntrada(__LINE__, ficheroEntrada, sMotivo);

    std::vector<CGenoma*> vNuevos = ReservarGenomas(vGenomas.size());
    for (std::size_t i = 0; i < vNuevos.size(); ++i) {
        vNuevos[i]->Copiar(vGenomas[i]);
        vPoblacion[i]->SetGenoma(vNuevos[i]);
    }
    m_nGeneracion = nGeneracion;
    *m_pBDInnovaciones = bd;
}
