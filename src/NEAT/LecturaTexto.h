#ifndef LECTURATEXTO_H
#define LECTURATEXTO_H

// Strict reading of the library's text forms: every value is one
// whitespace-separated token that must parse completely. Each function
// returns false, and leaves its output alone, when the token is missing,
// malformed or out of range.
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <istream>
#include <locale>
#include <sstream>
#include <string>

namespace LecturaTexto {

// No value written by the library is anywhere near this long.
const int kMaxLongitudToken = 64;

inline bool LeerToken(std::istream& in, std::string& sToken)
{
    std::string s;
    if (!(in >> std::setw(kMaxLongitudToken) >> s))
        return false;
    // A token cut at the width limit is longer than any valid value.
    if (!in.eof()) {
        const std::istream::int_type c = in.peek();
        if (c != std::istream::traits_type::eof() && !std::isspace(static_cast<unsigned char>(c)))
            return false;
    }
    sToken.swap(s);
    return true;
}

inline bool LeerEntero(std::istream& in, long long nMin, long long nMax, long long& nValor)
{
    std::string s;
    if (!LeerToken(in, s))
        return false;
    char* pFin = nullptr;
    errno = 0;
    const long long n = std::strtoll(s.c_str(), &pFin, 10);
    if (errno != 0 || *pFin != '\0' || n < nMin || n > nMax)
        return false;
    nValor = n;
    return true;
}

inline bool LeerInt(std::istream& in, int& nValor)
{
    long long n = 0;
    if (!LeerEntero(in, INT_MIN, INT_MAX, n))
        return false;
    nValor = static_cast<int>(n);
    return true;
}

// A count or an index: 0 to INT_MAX.
inline bool LeerCuenta(std::istream& in, int& nValor)
{
    long long n = 0;
    if (!LeerEntero(in, 0, INT_MAX, n))
        return false;
    nValor = static_cast<int>(n);
    return true;
}

// A flag written as 0 or 1.
inline bool LeerBool(std::istream& in, bool& bValor)
{
    long long n = 0;
    if (!LeerEntero(in, 0, 1, n))
        return false;
    bValor = (n == 1);
    return true;
}

// Parsed as the writer wrote it, in the classic locale whatever the
// program's own locale is.
inline bool ConvertirReal(const std::string& s, double& dValor)
{
    std::istringstream ss(s);
    ss.imbue(std::locale::classic());
    double d = 0.0;
    if (!(ss >> d) || ss.peek() != std::istringstream::traits_type::eof())
        return false;
    dValor = d;
    return true;
}

// A finite real: weights, curvatures and coordinates.
inline bool LeerReal(std::istream& in, double& dValor)
{
    std::string s;
    if (!LeerToken(in, s))
        return false;
    return ConvertirReal(s, dValor);
}

// Any real the writer can produce, infinities and NaN included: for values
// a caller may have set freely, such as fitness.
inline bool LeerRealCualquiera(std::istream& in, double& dValor)
{
    std::string s;
    if (!LeerToken(in, s))
        return false;
    if (ConvertirReal(s, dValor))
        return true;
    const double dInf = HUGE_VAL;
    if (s == "inf" || s == "+inf") {
        dValor = dInf;
    } else if (s == "-inf") {
        dValor = -dInf;
    } else if (s == "nan" || s == "-nan" || s == "+nan") {
        dValor = std::nan("");
    } else {
        return false;
    }
    return true;
}

}  // namespace LecturaTexto

#endif
