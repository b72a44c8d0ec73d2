#ifndef TABLAOPCIONES_H
#define TABLAOPCIONES_H

#include <functional>
#include <string>
#include <vector>

// A command's options: name, value, default, range and help line of each.
// The same table reads the arguments and writes the usage, so the help
// always tells what the parser does. Every command also answers -h, --help
// and ayuda with its usage.
//
//   CTablaOpciones t("entrenar xor", "evoluciona redes para el XOR");
//   t.Entero("--poblacion", "N", 2, 100000, o.nPoblacion, "miembros");
//   t.Ejemplo("entrenar xor --ejecuciones 10");
//   bool bAyuda = false;
//   if (!t.Leer(argc, argv, 2, bAyuda, sError)) ...   // then t.Ayuda()
//
// Defaults are the destinations' values when the option is added. Values
// are checked as they are read: a value out of range says the range.
// Texts are ISO 8859-1, like the programs' other texts.
class CTablaOpciones {
public:
    // Reads sValor into its destination, or says why not in sError.
    typedef std::function<bool(const std::string& sValor, std::string& sError)> TLector;

    CTablaOpciones(const std::string& sOrden, const std::string& sDescripcion);
    ~CTablaOpciones();
    void Limpiar();

    // szNombre may list alternatives: "-o, --salida".
    void Entero(const char* szNombre, const char* szValor, long nMin, long nMax, int& nDestino,
                const std::string& sAyuda);
    void Entero(const char* szNombre, const char* szValor, long nMin, long nMax, unsigned& nDestino,
                const std::string& sAyuda);
    void Real(const char* szNombre, const char* szValor, double dMin, double dMax, double& dDestino,
              const std::string& sAyuda);
    // A value that may not be empty; sDefecto "" shows none.
    void Texto(const char* szNombre, const char* szValor, std::string& sDestino, const std::string& sAyuda,
               const std::string& sDefecto);
    // Without a value: sets bDestino to bValor.
    void Bandera(const char* szNombre, bool& bDestino, bool bValor, const std::string& sAyuda);
    // Any other kind: sRango says what it takes.
    void Otra(const char* szNombre, const char* szValor, const std::string& sDefecto, const std::string& sRango,
              const TLector& fLeer, const std::string& sAyuda);
    // Words without a dash, in order; the last ones may be optional.
    void Posicional(const char* szNombre, std::string& sDestino, bool bObligatorio, const std::string& sAyuda);
    // Replaces the default shown for the option added last (for a default
    // that depends on other choices).
    void Defecto(const std::string& sDefecto);
    void Ejemplo(const std::string& sEjemplo);

    // Reads argv[nInicio..argc-1]. bAyuda tells that the usage was asked
    // for (the rest is then not read). False with a message on bad use.
    bool Leer(int argc, char** argv, int nInicio, bool& bAyuda, std::string& sError) const;
    std::string Ayuda() const;
    const std::string& GetOrden() const { return m_sOrden; }

private:
    struct SOpcion {
        std::vector<std::string> vNombres;
        std::string sValor;  // "" for a flag
        std::string sDefecto;
        std::string sRango;
        std::string sAyuda;
        TLector fLeer;
    };
    struct SPosicional {
        std::string sNombre;
        std::string* pDestino;
        bool bObligatorio;
        std::string sAyuda;
    };

    const SOpcion* Buscar(const std::string& sNombre) const;
    bool LeerPalabra(int argc, char** argv, int& i, std::size_t& nPosicional, std::string& sError) const;
    static std::string Columna(const std::string& sTexto, std::size_t nAncho);

    std::string m_sOrden;
    std::string m_sDescripcion;
    std::vector<SOpcion> m_vOpciones;
    std::vector<SPosicional> m_vPosicionales;
    std::vector<std::string> m_vEjemplos;
};

// True for the words that ask for the usage: -h, --help, --ayuda, ayuda.
bool PideAyuda(const std::string& sPalabra);

#endif
