#pragma once
// Readers of VB6 project files: code pages, lines, file systems, .vbp/.vbg and module files.
#include "ide/files/diagnostic.h"
#include "ide/files/encoding.h"
#include "ide/files/file_system.h"
#include "ide/files/module_file.h"
#include "ide/files/project_file.h"
#include "ide/files/project_sources.h"
