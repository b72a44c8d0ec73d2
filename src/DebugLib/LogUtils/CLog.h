#ifndef CLOG_H
#define CLOG_H

#include <string>

// Log sink: every entry goes to the console and/or is appended to the file,
// as the two flags say. No file stays open between entries.
class CLog {
public:
    CLog(std::string sRuta, const char* szModo);
    ~CLog();
    void anyadirALog(const char* format, ...);
    void mostrarPorConsola(bool bMostrar);
    void mostrarEnArchivo(bool bMostrar);

private:
    bool m_bMostrarPorConsola;
    bool m_bMostrarEnArchivo;
    std::string m_sRuta;
};

#endif
