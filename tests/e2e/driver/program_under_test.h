// Where the prefix set-up lays the program out, and the texts it shows.
// Texts are code page 1252 (this file is compiled with -fexec-charset=CP1252).
#pragma once

#define PROGRAM_PATH                 "C:\\REGQuorvalis\\REGQuorvalis.exe"
#define PROGRAM_NO_REGISTRAR_PATH    "C:\\qv-sem-ocx\\REGQuorvalis.exe"
#define PROGRAM_ONLY_REGISTER_PATH   "C:\\qv-so-register\\REGQuorvalis.exe"
#define PROGRAM_ONLY_UNREGISTER_PATH "C:\\qv-so-unregister\\REGQuorvalis.exe"
#define REGISTRAR_FILE               "REGQUORVALIS2.OCX"

#define MAIN_TITLE        "VORAN-Instalador 32 BITS <XP> biblioteca Quorvalis versão: 1, 0, 0, 0"
#define MAIN_TITLE_PREFIX "VORAN-Instalador"
#define ERROR_CAPTION     "E R R O"

#define IDC_REGISTER     1001
#define IDC_VERSION_TEXT 1002
#define IDC_RESET        1003
#define IDC_LOG_LIST     1007
#define IDC_STATIC_LABEL (-1)

// Bounds of every wait: generous against a slow machine, short enough that a
// hung program fails the case well inside the runner's timeout.
#define WINDOW_WAIT_MS 15000
#define EXIT_WAIT_MS   10000
