#ifndef CTABLACSV_H
#define CTABLACSV_H

#include <map>
#include <string>
#include <vector>

// A numeric CSV with a header line, as the training program writes its
// statistics. Columns are found by name, so added or reordered columns do
// not break a reader.
class CTablaCsv {
public:
    CTablaCsv();

    void Limpiar();

    // Replaces the table with sTexto's; on failure leaves it untouched and
    // names the line at fault. Every column in vObligatorias must be there.
    bool Leer(const std::string& sTexto, const std::vector<std::string>& vObligatorias, std::string& sError);
    bool LeerArchivo(const std::string& sRuta, const std::vector<std::string>& vObligatorias, std::string& sError);

    size_t GetNumFilas() const { return m_vFilas.size(); }
    const std::vector<std::string>& GetColumnas() const { return m_vColumnas; }
    // Column position by name, -1 when absent.
    int Columna(const std::string& sNombre) const;
    double Valor(size_t nFila, int nColumna) const { return m_vFilas[nFila][nColumna]; }
    // A whole column by name (empty when absent).
    std::vector<double> ValoresColumna(const std::string& sNombre) const;

private:
    std::vector<std::string> m_vColumnas;
    std::map<std::string, int> m_mColumnas;
    std::vector<std::vector<double>> m_vFilas;
};

#endif
