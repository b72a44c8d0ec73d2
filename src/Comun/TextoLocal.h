#ifndef TEXTOLOCAL_H
#define TEXTOLOCAL_H

#include <cstddef>
#include <cstdio>
#include <string>

// Texts of the programs around the library (entrenar, visualizar,
// red2literal) in the user's encoding.
//
// The programs' own texts are ISO 8859-1 bytes; names and paths that come
// from the user or the system are in the user's encoding, usually UTF-8; a
// message may hold both. Such a mixed text is read one character at a time:
// a well-formed UTF-8 sequence is one character, any other byte is the
// ISO 8859-1 character of that value. So a text is never encoded twice.

// The character at nPos (its code point), moving nPos past it.
unsigned LeerCaracter(const std::string& sTexto, std::size_t& nPos);
void AnyadirUtf8(std::string& sTexto, unsigned nCodigo);
// The whole text as UTF-8 (for JSON, HTML and UTF-8 terminals).
std::string TextoUtf8(const std::string& sTexto);
// For text placed inside a double-quoted JSON string: plain ASCII, every
// other character as a \u escape, and '<', '>', '&' escaped too so that it
// may sit inside an HTML script element.
std::string EscaparJson(const std::string& sTexto);

// Whether the user's locale (LC_ALL, LC_CTYPE, LANG) says UTF-8. Any other
// encoding gets the bytes as they are: ISO 8859-1 is what the programs
// speak natively.
bool LocalEsUtf8();
// For tests: fixes the answer of LocalEsUtf8.
void FijarLocalUtf8(bool bUtf8);
std::string TextoLocal(const std::string& sTexto);

// Every message of those programs goes out through these two.
bool EscribirTexto(std::FILE* pSalida, const std::string& sTexto);
bool EscribirFormato(std::FILE* pSalida, const char* szFormato, ...) __attribute__((format(printf, 2, 3)));

#endif
