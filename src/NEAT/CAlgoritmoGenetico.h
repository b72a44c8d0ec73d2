#ifndef CALGORITMOGENETICO_H
#define CALGORITMOGENETICO_H

#include <iosfwd>
#include <string>
#include <vector>

#include "CEspecie.h"
#include "CGenoma.h"
#include "CInnovacion.h"
#include "CRedNeuronal.h"
#include "IIndividuoIA.h"

class CLog;

typedef std::vector<const CRedNeuronal*> TFenotipos;
typedef std::vector<CEspecie> TEspecies;

// Sort record: ascending order with it puts the highest score first.
struct SOrdenPtrGenoma {
    double dIdoneidad;
    const CGenoma* genoma;

    SOrdenPtrGenoma(double d, const CGenoma* g) : dIdoneidad(d), genoma(g) {}
};

inline bool operator<(const SOrdenPtrGenoma& g1, const SOrdenPtrGenoma& g2) { return g1.dIdoneidad > g2.dIdoneidad; }

// The evolution engine: one engine runs one evolution.
class CAlgoritmoGenetico {
public:
    CAlgoritmoGenetico();
    ~CAlgoritmoGenetico();

    void Limpiar();
    void Inicializar(int nEntradas, int nSalidas);
    void CrearMente(IIndividuoIA* Individuo);
    void Epoca(TPoblacionIA& vPoblacion);

    void SalvarPoblacion(const TPoblacionIA& vPoblacion, const char* ficheroSalida, char keyChar) const;
    void RecuperarPoblacion(TPoblacionIA& vPoblacion, const char* ficheroEntrada, char keyChar);
    // The text SalvarPoblacion writes, before the byte key: for a program
    // that writes the file itself and deals with failures its own way.
    std::string TextoPoblacion(const TPoblacionIA& vPoblacion) const;

    // Everything an evolution carries from one epoch to the next, with exact
    // values: counters, best fitness, innovation database, the members'
    // genomes, the best genomes of the last ranking and the species with
    // their leaders. Restored into an engine set up with Inicializar as
    // the saved one was (same inputs, outputs and parameters), the next
    // epochs run as they would have in the saved engine, given the random
    // generator's state of that moment. The random state is not part of
    // it: the random source belongs to the program.
    void SalvarEstado(const TPoblacionIA& vPoblacion, std::ostream& out) const;
    // Reads and checks the whole text before changing anything; on failure
    // returns false, says why in sMotivo and leaves engine and population as
    // they were. vPoblacion must hold exactly as many members as were saved;
    // their genomes are freed and replaced. Reading draws random numbers (one
    // per neuron gene), so the program sets the random state afterwards.
    bool RecuperarEstado(TPoblacionIA& vPoblacion, std::istream& in, std::string& sMotivo);

    int GetGeneracion() { return m_nGeneracion; }
    TFenotipos GetMejoresFenotipos();
    // Species of the last epoch, for reports: only their identifier, size,
    // age, leader fitness and offspring quota are meaningful afterwards.
    const TEspecies& GetEspecies() const { return m_vEspecies; }

    // The run's innovation register, for a caller that builds first genomes
    // of its own (with neurons or links the minimal genome lacks): they must
    // be registered here before the first epoch. Valid after Inicializar.
    CInnovacion& GetBDInnovaciones() { return *m_pBDInnovaciones; }

    void SetLogEspecies(CLog* pLog) { m_logEspecies = pLog; }
    void SetLogGenes(CLog* pLog) { m_logGenes = pLog; }
    void SetLogAG(CLog* pLog) { m_logAG = pLog; }

    void SetParametrosPorDefecto();

    void SetNumeroIndividuosElite(unsigned int n) { m_nIndividuosElite = n; }
    void SetMaxEpocasPermitidasSinMejora(unsigned int n) { m_nMaxEpocasPermitidasSinMejora = n; }
    void SetMaxNumeroDeEspecies(unsigned int n) { m_nMaxNumEspecies = n; }
    void SetMaxNumeroDeNeuronas(unsigned int n) { m_dMaxNumNeuronas = n; }
    void SetMaxNumeroIntentosEnlaceAntiguo(unsigned int n) { m_nMaxNumIntentosEnlaceAntiguo = n; }
    void SetMaxIntentosAnyadirBucle(unsigned int n) { m_nMaxIntentosAnyadirBucle = n; }
    void SetMaxIntentosAnyadirEnlace(unsigned int n) { m_nMaxIntentosAnyadirEnlace = n; }
    void SetEspeciacion(bool b) { m_bEspeciacionActivada = b; }
    void SetUmbralCompatibilidadEspecie(double d) { m_dUmbralCompatibilidad = d; }
    void SetRatioDeCruce(double d) { m_dRatioDeCruce = d; }
    void SetRatioDeMutacion(double d) { m_dRatioDeMutacion = d; }
    void SetRatioDeMutacionSigmoidea(double d) { m_dRatioDeMutacionSigmoidea = d; }
    void SetProbabilidadAnyadirNeurona(double d) { m_dProbabilidadAnyadirNeurona = d; }
    void SetProbabilidadAnyadirEnlace(double d) { m_dProbabilidadAnyadirEnlace = d; }
    void SetProbabilidadAnyadirBucle(double d) { m_dProbabilidadAnyadirBucle = d; }
    void SetProbabilidadSustituirPeso(double d) { m_dProbabilidadSustituirPeso = d; }
    void SetMaxPerturbacionPeso(double d) { m_dMaxPerturbacionPeso = d; }
    void SetMaxPerturbacionSigmoidea(double d) { m_dMaxPerturbacionSigmoidea = d; }

    // Options beyond the classic engine, off by default (and after
    // SetParametrosPorDefecto). With this one a crossover child keeps each
    // neuron's curvature from the parents (the better parent's, else the
    // other's) instead of a fresh one; the random draws stay the same.
    void SetCruceConservaCurvatura(bool b) { m_bCruceConservaCurvatura = b; }
    // With this one every genome CrearMente makes starts with a recurrent
    // link from each output to itself (CGenoma::AddBuclesSalida), so that
    // the first networks already hold a memory of their last output.
    void SetBuclesSalidaIniciales(bool b) { m_bBuclesSalidaIniciales = b; }
    // With this one no species leader is copied unchanged into the next
    // generation: its place goes to one more child of its species. Without
    // elite as well, a generation holds only new networks (but for copies
    // the tournament makes when the species leave places free).
    void SetSinCopiaDeLideres(bool b) { m_bSinCopiaDeLideres = b; }

private:
    CAlgoritmoGenetico(const CAlgoritmoGenetico&);
    CAlgoritmoGenetico& operator=(const CAlgoritmoGenetico&);

    void OrdenarYSalvarIndividuos();
    void ResetearYEliminar();
    void AjustarIdoneidadEspecies();
    void EspeciarYCalcularHijosAExpandir();
    const CGenoma* TournamentSelection(unsigned int nComparaciones);
    CGenoma* Cruce(const CGenoma& madre, const CGenoma& padre);
    void AddIDNeurona(int nID, std::vector<int>& vIDs);

    // Steps of the epoch.
    void EscribirLogEspecies();
    void EscribirLogGenes();
    void EscribirLogAG();
    void CopiarElite(std::vector<CGenoma*>& vNuevaPoblacion);
    void CriarEspecies(std::vector<CGenoma*>& vNuevaPoblacion);
    CGenoma* CriarHijo(const CEspecie& especie);
    CGenoma* CruzarOCopiar(const CEspecie& especie, const CGenoma& g1);
    void Mutar(CGenoma& hijo);
    void RellenarPorTorneo(std::vector<CGenoma*>& vNuevaPoblacion);
    void EntregarGenomas(const std::vector<CGenoma*>& vNuevaPoblacion);

    // Tests reach the private steps through this class only.
    friend class CPruebaAlgoritmoGenetico;

    int m_nIDSigGenoma;
    int m_nIDSigEspecie;
    int m_nGeneracion;
    int m_nMejorIndividuo;
    int m_nEntradasRedes;
    int m_nSalidasRedes;
    bool m_bMejorIdoneidadValida;
    double m_dMejorIdoneidad;
    double m_dIdoneidadTotalAjustada;
    double m_dIdoneidadMediaAjustada;
    CInnovacion* m_pBDInnovaciones;
    std::vector<CGenoma> m_vMejoresIndividuos;
    TEspecies m_vEspecies;
    TPoblacionIA* m_vPoblacion;

    unsigned int m_nIndividuosElite;
    unsigned int m_nMaxEpocasPermitidasSinMejora;
    unsigned int m_nMaxNumEspecies;
    unsigned int m_dMaxNumNeuronas;
    unsigned int m_nMaxNumIntentosEnlaceAntiguo;
    unsigned int m_nMaxIntentosAnyadirBucle;
    unsigned int m_nMaxIntentosAnyadirEnlace;
    bool m_bEspeciacionActivada;
    double m_dUmbralCompatibilidad;
    double m_dRatioDeCruce;
    double m_dRatioDeMutacion;
    double m_dRatioDeMutacionSigmoidea;
    double m_dProbabilidadAnyadirNeurona;
    double m_dProbabilidadAnyadirEnlace;
    double m_dProbabilidadAnyadirBucle;
    double m_dProbabilidadSustituirPeso;
    double m_dMaxPerturbacionPeso;
    double m_dMaxPerturbacionSigmoidea;
    bool m_bCruceConservaCurvatura;
    bool m_bBuclesSalidaIniciales;
    bool m_bSinCopiaDeLideres;

    CLog* m_logEspecies;
    CLog* m_logGenes;
    CLog* m_logAG;
};

// Reading a population file's text, the byte key already undone, in two
// steps so that the caller can check the number of individuals before any
// genome is read. Each step checks all it reads (every value complete, the
// genomes whole, the database consistent, the genomes' neuron and innovation
// ids numbered by that database, nothing but white space after it) and on
// failure returns false, leaves its outputs untouched and says in sMotivo
// what was wrong. Reading a genome draws one RandomDouble per neuron gene.
bool LeerCabeceraPoblacion(std::istream& in, int& nGeneracion, unsigned int& nIndividuos, std::string& sMotivo);
bool LeerCuerpoPoblacion(std::istream& in, unsigned int nIndividuos, std::vector<CGenoma>& vGenomas,
                         CInnovacion& BDInnovaciones, std::string& sMotivo);
// Both steps over a whole text.
bool LeerTextoPoblacion(const std::string& sTexto, int& nGeneracion, std::vector<CGenoma>& vGenomas,
                        CInnovacion& BDInnovaciones, std::string& sMotivo);

#endif
