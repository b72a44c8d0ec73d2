#ifndef CARPETATEMPORAL_H
#define CARPETATEMPORAL_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// A new folder of its own in the system's temporary folder (TMPDIR).
inline std::string CarpetaTemporal(const std::string& sPrefijo = "prueba_")
{
    std::error_code error;
    std::string sPlantilla = (std::filesystem::temp_directory_path(error) / (sPrefijo + "XXXXXX")).string();
    EXPECT_FALSE(error) << error.message();
    const char* p = mkdtemp(sPlantilla.data());
    EXPECT_NE(p, nullptr) << sPlantilla;
    return p ? std::string(p) : std::filesystem::temp_directory_path(error).string();
}

#endif
