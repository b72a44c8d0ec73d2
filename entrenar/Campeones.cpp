#include "Campeones.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "CGenerador.h"

namespace {

// Keeps the draw of champions apart from the other draws made from a match's
// seed.
const uint64_t kMarcaCampeon = 0x43414D50u;  // "CAMP"

// Reads "palabra N\n" at nPos; false unless it is exactly that.
bool LeerCabecera(const std::string& sTexto, size_t& nPos, const char* szPalabra, size_t& nValor)
{
    const size_t nLong = std::strlen(szPalabra);
    if (sTexto.compare(nPos, nLong, szPalabra) != 0 || nPos + nLong >= sTexto.size() || sTexto[nPos + nLong] != ' ')
        return false;
    const size_t nFinLinea = sTexto.find('\n', nPos);
    if (nFinLinea == std::string::npos)
        return false;
    const std::string sNumero = sTexto.substr(nPos + nLong + 1, nFinLinea - nPos - nLong - 1);
    if (sNumero.empty() || sNumero.size() > 12 || sNumero.find_first_not_of("0123456789") != std::string::npos)
        return false;
    nValor = static_cast<size_t>(std::strtoull(sNumero.c_str(), nullptr, 10));
    nPos = nFinLinea + 1;
    return true;
}

}  // namespace

void AnyadirCampeon(SCampeones& campeones, const std::string& sRed)
{
    std::vector<std::string>& v = campeones.vsRedes;
    if (std::find(v.begin(), v.end(), sRed) != v.end())
        return;
    v.push_back(sRed);
    if (v.size() > kMaxCampeones)
        v.erase(v.begin());
}

const std::string* ElegirCampeon(const SCampeones& campeones, uint64_t nSemilla, size_t nPuesto)
{
    if (campeones.vsRedes.empty())
        return nullptr;
    const uint64_t n = CGenerador::Mezclar(CGenerador::Mezclar(nSemilla, kMarcaCampeon), nPuesto);
    return &campeones.vsRedes[n % campeones.vsRedes.size()];
}

std::string TextoCampeones(const SCampeones& campeones)
{
    std::string sTexto = "campeones " + std::to_string(campeones.vsRedes.size()) + "\n";
    for (const std::string& sRed : campeones.vsRedes)
        sTexto += "red " + std::to_string(sRed.size()) + "\n" + sRed + "\n";
    return sTexto;
}

bool LeerCampeones(const std::string& sTexto, SCampeones& campeones, std::string& sError)
{
    size_t nPos = 0, nRedes = 0;
    if (!LeerCabecera(sTexto, nPos, "campeones", nRedes) || nRedes > kMaxCampeones) {
        sError =
            "lista de campeones sin cabecera v"
            "\xE1"
            "lida";
        return false;
    }
    SCampeones leidos;
    for (size_t i = 0; i < nRedes; ++i) {
        size_t nBytes = 0;
        if (!LeerCabecera(sTexto, nPos, "red", nBytes) || nBytes > sTexto.size() - nPos ||
            nPos + nBytes >= sTexto.size() || sTexto[nPos + nBytes] != '\n') {
            sError =
                "campe"
                "\xF3"
                "n " +
                std::to_string(i + 1) + " de " + std::to_string(nRedes) + " cortado o mal formado";
            return false;
        }
        leidos.vsRedes.push_back(sTexto.substr(nPos, nBytes));
        nPos += nBytes + 1;
    }
    if (nPos != sTexto.size()) {
        sError =
            "texto de m"
            "\xE1"
            "s tras la lista de campeones";
        return false;
    }
    campeones = leidos;
    return true;
}
