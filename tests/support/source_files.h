#pragma once
// Files of the source tree that tests read, such as the shipped DLL and the administrators' preset
// file. QUILLMERE_SOURCE_DIR names the tree's root as the test program sees it.

#include <cstdlib>
#include <string>

inline std::string SourceFile(const std::string& relative)
{
    const char* root = std::getenv("QUILLMERE_SOURCE_DIR");
    return std::string(root && *root ? root : ".") + "/" + relative;
}
