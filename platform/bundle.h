#pragma once
// The module's resources: files installed beside the program.
#include <string>

// The full path of resource name.type, or "" when it is not found. Looked up
// in the folder of the running program (the build tree), then in the share
// folder of its installation (<bin>/../share/korvel3d), then in the share
// folder of the configured install prefix.
std::string pathForResource(const std::string& name, const std::string& type);

// Looks in this folder first (tests point it at the build tree's resources);
// "" removes it.
void SetResourceSearchFolder(const std::string& folder);
