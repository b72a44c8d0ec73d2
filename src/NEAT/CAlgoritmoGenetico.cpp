#include "CAlgoritmoGenetico.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <locale>
#include <new>
#include <sstream>
#include <unordered_map>
#include <utility>

#include "CIndicePosiciones.h"
#include "LecturaTexto.h"

#include "DebugLib/LogUtils/CLog.h"
#include "DebugLib/Random/Random.h"

namespace {

// Members' genomes are heap objects the engine hands out; it writes their
// fitness values through the pointers the members give back.
CGenoma* GenomaDe(const IIndividuoIA* pIndividuo) { return const_cast<CGenoma*>(pIndividuo->GetGenoma()); }

// Highest score first. A NaN score (a broken evaluation) ranks last: left to
// the record's own ordering it would break the sort's strict weak order.
bool PrecedeEnRanking(const SOrdenPtrGenoma& a, const SOrdenPtrGenoma& b)
{
    if (std::isnan(a.dIdoneidad))
        return false;
    if (std::isnan(b.dIdoneidad))
        return true;
    return a < b;
}

double IdoneidadDesdePuntuacion(double dPuntuacion)
{
    if (std::isnan(dPuntuacion))
        return 0.0;
    if (dPuntuacion < 0.0)
        return -1.0 / dPuntuacion;
    return dPuntuacion;
}

// Offspring still to breed after the leader: expected offspring rounded half
// up, minus the leader. Bounded before the conversion so that no value the
// fitness can produce overflows the int.
int HijosTrasElLider(double dHijosEsperados, std::size_t nTamPoblacion)
{
    if (!(dHijosEsperados >= 0.0))
        return -1;
    const double dTope = static_cast<double>(nTamPoblacion);
    if (dHijosEsperados > dTope)
        dHijosEsperados = dTope;
    return static_cast<int>(dHijosEsperados + 0.5) - 1;
}

// Position of the species whose leader lies nearest the genome, the first of
// equally near ones, and that distance. The list is not empty.
std::size_t EspecieMasCercana(const TEspecies& vEspecies, const CGenoma& genoma, double& dMejorDistancia)
{
    std::size_t nElegida = 0;
    dMejorDistancia = genoma.CalcularCompatibilidad(vEspecies[0].GetLider());
    for (std::size_t e = 1; e < vEspecies.size(); ++e) {
        const double dDistancia = genoma.CalcularCompatibilidad(vEspecies[e].GetLider());
        if (dDistancia < dMejorDistancia) {
            dMejorDistancia = dDistancia;
            nElegida = e;
        }
    }
    return nElegida;
}

// The better parent of a crossover: the fitter one, else the one with fewer
// link genes, else a coin (0 for madre).
bool MadreEsMejor(const CGenoma& madre, const CGenoma& padre)
{
    if (madre.GetIdoneidad() != padre.GetIdoneidad())
        return madre.GetIdoneidad() > padre.GetIdoneidad();
    if (madre.GetNumGenesEnlace() != padre.GetNumGenesEnlace())
        return madre.GetNumGenesEnlace() < padre.GetNumGenesEnlace();
    return RandomInt(0, 1) == 0;
}

// Each neuron of a crossover child takes the curvature its id has in the
// better parent, else in the other; every child neuron is in one of them.
void HeredarCurvaturas(const CGenoma& mejor, const CGenoma& otro, TGNeuronas& neuronasHijo)
{
    std::unordered_map<int, double> mCurvaturas;
    for (const CGenoma* pPariente : {&otro, &mejor}) {
        for (const SGenNeurona& gen : pPariente->GetGenesNeurona())
            mCurvaturas[gen.nID] = gen.dCurvaturaActivacion;
    }
    for (SGenNeurona& gen : neuronasHijo) {
        const auto it = mCurvaturas.find(gen.nID);
        if (it != mCurvaturas.end())
            gen.dCurvaturaActivacion = it->second;
    }
}

// Link genes lined up by innovation number (both lists ascending): matching
// genes from either parent by a coin each, the others from the better parent
// only. In merge order, repeats included.
std::vector<const SGenEnlace*> GenesElegidos(const CGenoma& madre, const CGenoma& padre, bool bMadreMejor)
{
    std::vector<const SGenEnlace*> vElegidos;
    vElegidos.reserve(madre.GetNumGenesEnlace() + padre.GetNumGenesEnlace());
    TGEnlaces::const_iterator itMadre = madre.GetItPrimerGen(), finMadre = madre.GetItFinGenes();
    TGEnlaces::const_iterator itPadre = padre.GetItPrimerGen(), finPadre = padre.GetItFinGenes();
    while (itMadre != finMadre || itPadre != finPadre) {
        const bool bSoloPadre =
            itMadre == finMadre || (itPadre != finPadre && itPadre->nIDInnovacion < itMadre->nIDInnovacion);
        const bool bSoloMadre = !bSoloPadre && (itPadre == finPadre || itMadre->nIDInnovacion < itPadre->nIDInnovacion);
        if (bSoloPadre) {
            if (!bMadreMejor)
                vElegidos.push_back(&*itPadre);
            ++itPadre;
        } else if (bSoloMadre) {
            if (bMadreMejor)
                vElegidos.push_back(&*itMadre);
            ++itMadre;
        } else {
            vElegidos.push_back(RandomInt(0, 1) == 0 ? &*itMadre : &*itPadre);
            ++itMadre;
            ++itPadre;
        }
    }
    return vElegidos;
}

// Genes one round of mutations can add to a child: a neuron splitting a
// link adds one neuron and two links, a new link one more.
const std::size_t kHolguraEnlaces = 3;
const std::size_t kHolguraNeuronas = 1;

}  // namespace

CAlgoritmoGenetico::CAlgoritmoGenetico()
    : m_pBDInnovaciones(nullptr), m_vPoblacion(nullptr), m_logEspecies(nullptr), m_logGenes(nullptr), m_logAG(nullptr)
{
    // Defaults here too, so that no parameter is ever read uninitialised;
    // Inicializar stores them again.
    SetParametrosPorDefecto();
    Limpiar();
}

CAlgoritmoGenetico::~CAlgoritmoGenetico() { Limpiar(); }

void CAlgoritmoGenetico::Limpiar()
{
    if (m_pBDInnovaciones) {
        delete m_pBDInnovaciones;
        m_pBDInnovaciones = nullptr;
    }
    m_nGeneracion = 0;
    m_nIDSigGenoma = 0;
    m_nIDSigEspecie = 0;
    m_nMejorIndividuo = -1;
    m_nEntradasRedes = 0;
    m_nSalidasRedes = 0;
    m_dMejorIdoneidad = 0.0;
    m_bMejorIdoneidadValida = false;
    m_dIdoneidadTotalAjustada = 0.0;
    m_dIdoneidadMediaAjustada = 0.0;
    // The species and the best genomes belong to the run being cleared: kept
    // across a new Inicializar, their leaders (of another shape, numbered by
    // another database) would be bred into the next run's population.
    m_vEspecies.clear();
    m_vMejoresIndividuos.clear();
    m_vPoblacion = nullptr;
    for (CLog** ppLog : {&m_logEspecies, &m_logGenes, &m_logAG}) {
        if (*ppLog) {
            delete *ppLog;
            *ppLog = nullptr;
        }
    }
}

void CAlgoritmoGenetico::Inicializar(int nEntradas, int nSalidas)
{
    Limpiar();
    m_nEntradasRedes = nEntradas;
    m_nSalidasRedes = nSalidas;
    m_logEspecies = nullptr;
    m_logGenes = nullptr;
    m_logAG = nullptr;
    SetParametrosPorDefecto();
    GenerarSemillaRandom();
    const CGenoma genoma(1, nEntradas, nSalidas);
    m_pBDInnovaciones = new (std::nothrow) CInnovacion(genoma);
    if (!m_pBDInnovaciones) {
        std::fprintf(stderr, "ERROR GRAVE: Sin memoria en %s %d\n", __FILE__, __LINE__);
        std::exit(-1);
    }
}

void CAlgoritmoGenetico::SetParametrosPorDefecto()
{
    m_nIndividuosElite = 2;
    m_nMaxEpocasPermitidasSinMejora = 30;
    m_nMaxNumEspecies = 10;
    m_dMaxNumNeuronas = 100;
    m_nMaxNumIntentosEnlaceAntiguo = 5;
    m_nMaxIntentosAnyadirBucle = 5;
    m_nMaxIntentosAnyadirEnlace = 5;
    m_bEspeciacionActivada = true;
    m_dUmbralCompatibilidad = 0.2;
    m_dRatioDeCruce = 0.8;
    m_dRatioDeMutacion = 0.5;
    m_dRatioDeMutacionSigmoidea = 0.05;
    m_dProbabilidadAnyadirNeurona = 0.3;
    m_dProbabilidadAnyadirEnlace = 0.6;
    m_dProbabilidadAnyadirBucle = 0.3;
    m_dProbabilidadSustituirPeso = 0.05;
    m_dMaxPerturbacionPeso = 0.15;
    m_dMaxPerturbacionSigmoidea = 0.15;
    m_bCruceConservaCurvatura = false;
    m_bBuclesSalidaIniciales = false;
    m_bSinCopiaDeLideres = false;
}

void CAlgoritmoGenetico::CrearMente(IIndividuoIA* Individuo)
{
    CGenoma* pGenoma = new CGenoma(m_nIDSigGenoma++, m_nEntradasRedes, m_nSalidasRedes);
    if (m_bBuclesSalidaIniciales)
        pGenoma->AddBuclesSalida(*m_pBDInnovaciones);
    Individuo->SetGenoma(pGenoma);
}

TFenotipos CAlgoritmoGenetico::GetMejoresFenotipos()
{
    TFenotipos vFenotipos;
    for (CGenoma& genoma : m_vMejoresIndividuos)
        vFenotipos.push_back(genoma.CrearFenotipo());
    return vFenotipos;
}

// ---------------------------------------------------------------------------
// Ranking, speciation and selection

void CAlgoritmoGenetico::ResetearYEliminar()
{
    m_dIdoneidadTotalAjustada = 0.0;
    m_dIdoneidadMediaAjustada = 0.0;
    for (TEspecies::iterator it = m_vEspecies.begin(); it != m_vEspecies.end();) {
        it->Purgar();
        // The count is never negative, so comparing it as unsigned is exact.
        const bool bEstancada = static_cast<unsigned int>(it->GetEpocasSinMejora()) > m_nMaxEpocasPermitidasSinMejora;
        if (bEstancada && it->GetMejorIdoneidad() < m_dMejorIdoneidad)
            it = m_vEspecies.erase(it);
        else
            ++it;
    }
    for (IIndividuoIA* pIndividuo : *m_vPoblacion)
        GenomaDe(pIndividuo)->BorrarFenotipo();
}

void CAlgoritmoGenetico::OrdenarYSalvarIndividuos()
{
    TPoblacionIA& vPoblacion = *m_vPoblacion;
    std::vector<SOrdenPtrGenoma> vOrdenGenomas;
    for (IIndividuoIA* pIndividuo : vPoblacion) {
        vOrdenGenomas.push_back(SOrdenPtrGenoma(pIndividuo->GetPuntuacion(), pIndividuo->GetGenoma()));
        GenomaDe(pIndividuo)->SetIdoneidad(IdoneidadDesdePuntuacion(pIndividuo->GetPuntuacion()));
    }
    std::sort(vOrdenGenomas.begin(), vOrdenGenomas.end(), PrecedeEnRanking);
    for (std::size_t i = 0; i < vPoblacion.size(); ++i)
        vPoblacion[i]->SetGenoma(const_cast<CGenoma*>(vOrdenGenomas[i].genoma));

    const double dMejorActual = vPoblacion[0]->GetGenoma()->GetIdoneidad();
    if (dMejorActual > m_dMejorIdoneidad || !m_bMejorIdoneidadValida) {
        m_dMejorIdoneidad = dMejorActual;
        m_bMejorIdoneidadValida = true;
    }

    m_vMejoresIndividuos.clear();
    for (std::size_t i = 0; i < m_nIndividuosElite && i < vPoblacion.size(); ++i)
        m_vMejoresIndividuos.push_back(*vPoblacion[i]->GetGenoma());
}

void CAlgoritmoGenetico::EspeciarYCalcularHijosAExpandir()
{
    for (IIndividuoIA* pIndividuo : *m_vPoblacion) {
        CGenoma* pGenoma = GenomaDe(pIndividuo);
        bool bColocado = false;
        if (!m_vEspecies.empty()) {
            double dMejorDistancia = 0.0;
            const std::size_t nElegida = EspecieMasCercana(m_vEspecies, *pGenoma, dMejorDistancia);
            const bool bCompatible = dMejorDistancia <= m_dUmbralCompatibilidad;
            const bool bLleno = m_vEspecies.size() == m_nMaxNumEspecies;
            if (m_bEspeciacionActivada && (bCompatible || bLleno)) {
                m_vEspecies[nElegida].AddMiembro(*pGenoma);
                pGenoma->SetEspecie(m_vEspecies[nElegida].GetID());
                bColocado = true;
            }
        }
        if (!bColocado) {
            m_vEspecies.push_back(CEspecie(*pGenoma, m_nIDSigEspecie++));
            pGenoma->SetEspecie(m_vEspecies.back().GetID());
        }
    }

    AjustarIdoneidadEspecies();

    m_dIdoneidadTotalAjustada = 0.0;
    for (IIndividuoIA* pIndividuo : *m_vPoblacion)
        m_dIdoneidadTotalAjustada += pIndividuo->GetGenoma()->GetIdoneidadAjustada();
    m_dIdoneidadMediaAjustada = m_dIdoneidadTotalAjustada / static_cast<double>(m_vPoblacion->size());

    // Every score 0: the quotient would be 0/0; every genome is due one.
    for (IIndividuoIA* pIndividuo : *m_vPoblacion) {
        CGenoma* pGenoma = GenomaDe(pIndividuo);
        const double dHijos =
            m_dIdoneidadMediaAjustada == 0.0 ? 1.0 : pGenoma->GetIdoneidadAjustada() / m_dIdoneidadMediaAjustada;
        pGenoma->SetNumHijosAExpandir(dHijos);
    }

    for (CEspecie& especie : m_vEspecies)
        especie.CalcularHijosAExpandir();
}

void CAlgoritmoGenetico::AjustarIdoneidadEspecies()
{
    for (CEspecie& especie : m_vEspecies)
        especie.AjustarIdoneidades();
}

const CGenoma* CAlgoritmoGenetico::TournamentSelection(unsigned int nComparaciones)
{
    // At least one draw, so that a tournament always has a winner.
    const unsigned int nSorteos = nComparaciones > 0 ? nComparaciones : 1;
    const int nUltimo = static_cast<int>(m_vPoblacion->size()) - 1;
    const CGenoma* pGanador = nullptr;
    double dMejor = 0.0;
    for (unsigned int n = 0; n < nSorteos; ++n) {
        const int aleatorio = RandomInt(0, nUltimo);
        const CGenoma* pGenoma = (*m_vPoblacion)[aleatorio]->GetGenoma();
        if (!pGanador || pGenoma->GetIdoneidad() > dMejor) {
            pGanador = pGenoma;
            dMejor = pGenoma->GetIdoneidad();
        }
    }
    return pGanador;
}

// ---------------------------------------------------------------------------
// Crossover

CGenoma* CAlgoritmoGenetico::Cruce(const CGenoma& madre, const CGenoma& padre)
{
    const bool bMadreMejor = MadreEsMejor(madre, padre);
    const std::vector<const SGenEnlace*> vElegidos = GenesElegidos(madre, padre, bMadreMejor);
    // Room for the genes the child's mutations add, so that they move
    // nothing. The ids are collected as AddIDNeurona collects them (each
    // once, in order of first appearance), through a hash set instead of a
    // search of the list.
    TGEnlaces enlacesHijo;
    std::vector<int> vIDNeuronas;
    CIndicePosiciones idsVistos;
    enlacesHijo.reserve(vElegidos.size() + kHolguraEnlaces);
    for (const SGenEnlace* pElegido : vElegidos) {
        if (enlacesHijo.empty() || enlacesHijo.back().nIDInnovacion != pElegido->nIDInnovacion)
            enlacesHijo.push_back(*pElegido);
        for (int nIDNeurona : {pElegido->nIDNeuronaInicio, pElegido->nIDNeuronaFin}) {
            if (idsVistos.InsertarSiFalta(static_cast<std::uint32_t>(nIDNeurona), 0))
                vIDNeuronas.push_back(nIDNeurona);
        }
    }

    // The child's neurons are rebuilt from the database, in id order.
    std::sort(vIDNeuronas.begin(), vIDNeuronas.end());
    TGNeuronas neuronasHijo;
    neuronasHijo.reserve(vIDNeuronas.size() + kHolguraNeuronas);
    for (int nIDNeurona : vIDNeuronas)
        neuronasHijo.push_back(m_pBDInnovaciones->CrearNeuronaDesdeID(nIDNeurona));
    if (m_bCruceConservaCurvatura)
        HeredarCurvaturas(bMadreMejor ? madre : padre, bMadreMejor ? padre : madre, neuronasHijo);

    const int nID = m_nIDSigGenoma++;
    return new CGenoma(nID, std::move(neuronasHijo), std::move(enlacesHijo), static_cast<int>(madre.GetNumEntradas()),
                       static_cast<int>(madre.GetNumSalidas()));
}

void CAlgoritmoGenetico::AddIDNeurona(int nID, std::vector<int>& vIDs)
{
    if (std::find(vIDs.begin(), vIDs.end(), nID) == vIDs.end())
        vIDs.push_back(nID);
}

// ---------------------------------------------------------------------------
// Epoch

void CAlgoritmoGenetico::Epoca(TPoblacionIA& vPoblacion)
{
    if (vPoblacion.empty())
        return;
    m_vPoblacion = &vPoblacion;
    std::vector<CGenoma*> vNuevaPoblacion;

    ResetearYEliminar();
    OrdenarYSalvarIndividuos();
    EspeciarYCalcularHijosAExpandir();
    EscribirLogEspecies();
    EscribirLogGenes();

    CopiarElite(vNuevaPoblacion);
    CriarEspecies(vNuevaPoblacion);
    RellenarPorTorneo(vNuevaPoblacion);

    EscribirLogAG();
    EntregarGenomas(vNuevaPoblacion);
    ++m_nGeneracion;
}

void CAlgoritmoGenetico::EscribirLogEspecies()
{
    if (!m_logEspecies)
        return;
    m_logEspecies->anyadirALog("\n**** GENERACION (%i) ESPECIES (%i). \n**************\n", m_nGeneracion,
                               static_cast<int>(m_vEspecies.size()));
    m_logEspecies->anyadirALog("ID\tIndiv.\tEdad\tSinMej\tLider\t\tHijos\n");
    for (const CEspecie& especie : m_vEspecies) {
        m_logEspecies->anyadirALog("%i\t%i\t%i\t%i\t%f\t%f\t\n", especie.GetID(), especie.GetNumMiembros(),
                                   especie.GetEdad(), especie.GetEpocasSinMejora(), especie.GetIdoneidadLider(),
                                   especie.GetHijosAExpandir());
    }
}

void CAlgoritmoGenetico::EscribirLogGenes()
{
    if (!m_logGenes)
        return;
    const TPoblacionIA& vPoblacion = *m_vPoblacion;
    double dNeuronas = 0.0;
    double dEnlaces = 0.0;
    for (const IIndividuoIA* pIndividuo : vPoblacion) {
        dNeuronas += static_cast<double>(pIndividuo->GetGenoma()->GetNumGenesNeurona());
        dEnlaces += static_cast<double>(pIndividuo->GetGenoma()->GetNumGenesEnlace());
    }
    const double dTam = static_cast<double>(vPoblacion.size());
    const CGenoma* pPrimero = vPoblacion[0]->GetGenoma();
    m_logGenes->anyadirALog("%i\t%i\t%f\t%f\n", static_cast<int>(pPrimero->GetNumGenesNeurona()),
                            static_cast<int>(pPrimero->GetNumGenesEnlace()), dNeuronas / dTam, dEnlaces / dTam);
}

void CAlgoritmoGenetico::EscribirLogAG()
{
    if (!m_logAG)
        return;
    const TPoblacionIA& vPoblacion = *m_vPoblacion;
    double dTotal = 0.0;
    for (const IIndividuoIA* pIndividuo : vPoblacion)
        dTotal += pIndividuo->GetGenoma()->GetIdoneidad();
    const double dMejorPuntuacionActual = vPoblacion[0]->GetGenoma()->GetIdoneidad();
    m_logAG->anyadirALog("%i\t%f\t%f\t%f\n", m_nGeneracion, m_dMejorIdoneidad, dMejorPuntuacionActual,
                         dTotal / static_cast<double>(vPoblacion.size()));
}

void CAlgoritmoGenetico::CopiarElite(std::vector<CGenoma*>& vNuevaPoblacion)
{
    for (const CGenoma& genoma : m_vMejoresIndividuos)
        vNuevaPoblacion.push_back(new CGenoma(genoma));
}

void CAlgoritmoGenetico::CriarEspecies(std::vector<CGenoma*>& vNuevaPoblacion)
{
    const std::size_t nTam = m_vPoblacion->size();
    for (const CEspecie& especie : m_vEspecies) {
        if (vNuevaPoblacion.size() >= nTam)
            continue;
        int nHijosAExpandir = HijosTrasElLider(especie.GetHijosAExpandir(), nTam);
        if (m_bSinCopiaDeLideres)
            ++nHijosAExpandir;
        else
            vNuevaPoblacion.push_back(new CGenoma(especie.GetLider()));
        for (int n = 0; n < nHijosAExpandir && vNuevaPoblacion.size() < nTam; ++n)
            vNuevaPoblacion.push_back(CriarHijo(especie));
    }
}

CGenoma* CAlgoritmoGenetico::CriarHijo(const CEspecie& especie)
{
    CGenoma* pHijo = nullptr;
    if (especie.GetNumMiembros() > 1) {
        const CGenoma& g1 = especie.GetSuperviviente();
        if (RandomDouble(0, 1) < m_dRatioDeCruce)
            pHijo = CruzarOCopiar(especie, g1);
        else
            pHijo = new CGenoma(g1);
    } else {
        pHijo = new CGenoma(especie.GetSuperviviente());
    }
    pHijo->SetID(++m_nIDSigGenoma);
    Mutar(*pHijo);
    return pHijo;
}

CGenoma* CAlgoritmoGenetico::CruzarOCopiar(const CEspecie& especie, const CGenoma& g1)
{
    const CGenoma* g2 = &especie.GetSuperviviente();
    for (int nReintento = 0; nReintento < 5 && g2->GetID() == g1.GetID(); ++nReintento)
        g2 = &especie.GetSuperviviente();
    if (g2->GetID() == g1.GetID())
        return new CGenoma(*g2);
    return Cruce(g1, *g2);
}

void CAlgoritmoGenetico::Mutar(CGenoma& hijo)
{
    if (hijo.GetNumGenesNeurona() < m_dMaxNumNeuronas)
        hijo.AddNeurona(m_dProbabilidadAnyadirNeurona, *m_pBDInnovaciones,
                        static_cast<int>(m_nMaxNumIntentosEnlaceAntiguo));
    hijo.AddEnlace(m_dProbabilidadAnyadirEnlace, m_dProbabilidadAnyadirBucle, *m_pBDInnovaciones,
                   static_cast<int>(m_nMaxIntentosAnyadirBucle), static_cast<int>(m_nMaxIntentosAnyadirEnlace));
    hijo.MutarPesos(m_dRatioDeMutacion, m_dProbabilidadSustituirPeso, m_dMaxPerturbacionPeso);
    hijo.MutarCurvaturaActivacion(m_dRatioDeMutacionSigmoidea, m_dMaxPerturbacionSigmoidea);
    hijo.OrdenarGenes();
}

void CAlgoritmoGenetico::RellenarPorTorneo(std::vector<CGenoma*>& vNuevaPoblacion)
{
    const std::size_t nTam = m_vPoblacion->size();
    if (vNuevaPoblacion.size() >= nTam)
        return;
    const std::size_t nMasHijos = nTam - vNuevaPoblacion.size();
    for (std::size_t n = 0; n < nMasHijos; ++n) {
        CGenoma* pCopia = new CGenoma(*TournamentSelection(static_cast<unsigned int>(nTam / 5)));
        pCopia->OrdenarGenes();
        vNuevaPoblacion.push_back(pCopia);
    }
}

void CAlgoritmoGenetico::EntregarGenomas(const std::vector<CGenoma*>& vNuevaPoblacion)
{
    TPoblacionIA& vPoblacion = *m_vPoblacion;
    for (std::size_t i = 0; i < vPoblacion.size(); ++i) {
        vPoblacion[i]->BorrarGenoma();
        vPoblacion[i]->SetGenoma(vNuevaPoblacion[i]);
    }
}
