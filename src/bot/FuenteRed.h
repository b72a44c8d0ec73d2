#ifndef FUENTERED_H
#define FUENTERED_H

#include <cstddef>
#include <string>

// Characters of text per line of a generated literal.
const size_t kAnchoLiteral = 64;

// The network text form (the writer's escaped output) as one string literal
// split over lines of plain ASCII: bytes outside printable ASCII become octal
// escapes, the text form's own escapes stay as they are. The result is the
// quoted pieces, one per line, each indented and followed by a newline.
std::string GenerarLiteralRed(const std::string& sTextoEscapado);

// The complete source file that defines kRedIntegrada with that text.
std::string GenerarFuenteRedIntegrada(const std::string& sTextoEscapado);

#endif
