#ifndef ARCHIVOENTERO_H
#define ARCHIVOENTERO_H

#include <cstddef>
#include <string>

// A file written whole or not at all. The content goes to a temporary file
// beside the target (a fresh name, created exclusively, so nothing left
// there is written through), every write is checked, the data is flushed to
// disk, the temporary file is renamed over the target and the folder is
// flushed so the rename survives a crash. Any failure leaves the target as
// it was, removes the temporary file and says why in sError.
//
// For content made elsewhere (another program's output), Abrir gives the
// temporary file's descriptor and path; Confirmar then puts it in place.
class CArchivoEntero {
public:
    CArchivoEntero();
    ~CArchivoEntero();
    CArchivoEntero(const CArchivoEntero&) = delete;
    CArchivoEntero& operator=(const CArchivoEntero&) = delete;

    bool Abrir(const std::string& sRuta, std::string& sError);
    bool Escribir(const char* pDatos, std::size_t nBytes, std::string& sError);
    bool Confirmar(std::string& sError);
    // Drops the temporary file, if any; the target is not touched.
    void Limpiar();

    int GetDescriptor() const { return m_nDescriptor; }
    const std::string& GetRutaTemporal() const { return m_sTemporal; }

private:
    bool Fallo(const std::string& sMotivo, std::string& sError);

    std::string m_sRuta;
    std::string m_sTemporal;
    int m_nDescriptor;
};

bool EscribirArchivoEntero(const std::string& sRuta, const std::string& sContenido, std::string& sError);

// Flushes a folder's entries (names created or renamed in it) to the disk;
// false with errno set when it cannot.
bool SincronizarCarpeta(const std::string& sCarpeta);

// A fresh name beside sRuta (sRuta.tmp<pid>.<n>) that nothing else in this
// process will be given; exclusive creation settles races with others.
std::string NombreTemporalJunto(const std::string& sRuta);

#endif
