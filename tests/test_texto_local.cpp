// Mixed texts (the programs' ISO 8859-1 with UTF-8 names and paths) read one
// character at a time, and written for the user's terminal.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Comun/TextoLocal.h"

namespace {

std::string Codigos(const std::string& s)
{
    std::string sCodigos;
    for (std::size_t nPos = 0; nPos < s.size();)
        sCodigos += (sCodigos.empty() ? "" : " ") + std::to_string(LeerCaracter(s, nPos));
    return sCodigos;
}

TEST(TextoLocal, UnaSecuenciaUtf8BienFormadaEsUnCaracterYLoDemasLatin1)
{
    EXPECT_EQ(Codigos("a\xF3n"), "97 243 110");                 // ISO 8859-1 "on" with accent
    EXPECT_EQ(Codigos("a\xC3\xB3n"), "97 243 110");             // the same in UTF-8
    EXPECT_EQ(Codigos("\xE2\x82\xAC"), "8364");                 // three bytes
    EXPECT_EQ(Codigos("\xF0\x9F\x98\x80"), "128512");           // four bytes
    EXPECT_EQ(Codigos("\xC0\x80"), "192 128");                  // overlong
    EXPECT_EQ(Codigos("\xED\xA0\x80"), "237 160 128");          // surrogate
    EXPECT_EQ(Codigos("\xF4\x90\x80\x80"), "244 144 128 128");  // past U+10FFFF
    EXPECT_EQ(Codigos("\xE2\x82"), "226 130");                  // cut short at the end
    EXPECT_EQ(Codigos("\xC3"), "195");
    EXPECT_EQ(Codigos(std::string("\0x", 2)), "0 120");
}

TEST(TextoLocal, Utf8SinCodificarDosVeces)
{
    // A program message around a path the user typed in UTF-8.
    const std::string sMensaje = std::string("No se pudo leer ") + "a\xC3\xB1o.txt: opci" + "\xF3" + "n";
    EXPECT_EQ(TextoUtf8(sMensaje), "No se pudo leer a\xC3\xB1o.txt: opci\xC3\xB3n");
    EXPECT_EQ(TextoUtf8(TextoUtf8(sMensaje)), TextoUtf8(sMensaje));
    EXPECT_EQ(TextoUtf8(""), "");
}

TEST(TextoLocal, EscaparJson)
{
    EXPECT_EQ(EscaparJson("\"\\/\n\x7F"), "\\\"\\\\/\\u000a\\u007f");
    EXPECT_EQ(EscaparJson("</script>&"), "\\u003c/script\\u003e\\u0026");
    EXPECT_EQ(EscaparJson("a\xF1o a\xC3\xB1o"), "a\\u00f1o a\\u00f1o");
    EXPECT_EQ(EscaparJson("\xF0\x9F\x98\x80"), "\\ud83d\\ude00");
}

TEST(TextoLocal, LaSalidaSigueLaCodificacionDelUsuario)
{
    const std::string sMensaje = "Opci\xF3n y a\xC3\xB1o";
    FijarLocalUtf8(true);
    EXPECT_EQ(TextoLocal(sMensaje), "Opci\xC3\xB3n y a\xC3\xB1o");
    FijarLocalUtf8(false);
    EXPECT_EQ(TextoLocal(sMensaje), sMensaje);

    std::FILE* pArchivo = std::tmpfile();
    ASSERT_NE(pArchivo, nullptr);
    FijarLocalUtf8(true);
    EXPECT_TRUE(EscribirFormato(pArchivo, "%s %d %s\n", "Opci\xF3n", 7, std::string(5000, 'x').c_str()));
    std::rewind(pArchivo);
    std::string sLeido(6000, '\0');
    sLeido.resize(std::fread(&sLeido[0], 1, sLeido.size(), pArchivo));
    std::fclose(pArchivo);
    EXPECT_EQ(sLeido, "Opci\xC3\xB3n 7 " + std::string(5000, 'x') + "\n");
}

}  // namespace
