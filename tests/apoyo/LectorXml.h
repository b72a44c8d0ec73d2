#ifndef LECTORXML_H
#define LECTORXML_H

#include <map>
#include <string>
#include <vector>

// A strict little XML reader for the tests: checks that a document is well
// formed (one root, tags nested and closed, attributes quoted and unique,
// only known entities) and lists every element with its attributes, its
// parent and the text directly inside it.

struct SElementoXml {
    std::string sNombre;
    std::map<std::string, std::string> mAtributos;
    int nPadre;  // -1 for the root
    std::string sTexto;
};

bool LeerXml(const std::string& sDoc, std::vector<SElementoXml>& vElementos, std::string& sError);

// Elements with that name, optionally only those whose "class" is sClase.
std::vector<const SElementoXml*> ElementosXml(const std::vector<SElementoXml>& v, const std::string& sNombre,
                                              const std::string& sClase = "");

#endif
