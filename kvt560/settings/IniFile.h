#pragma once
// The ini engine is common/IniFile.h; this name stays for the files that include it here.
#include "common/IniFile.h"
