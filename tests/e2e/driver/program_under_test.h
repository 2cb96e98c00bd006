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

// The component and where its copies go. The prefix set-up lays out the
// component folder and the script client; the cases make the other folders.
#define COMPONENT_FOLDER      "C:\\Quorvalis"
#define COMPONENT_PATH        "C:\\Quorvalis\\Quorvalis.dll"
#define COMPONENT_TLB_PATH    "C:\\Quorvalis\\Quorvalis.tlb"
#define DESTINATION_FOLDER    "C:\\Destino"
#define SCRATCH_FOLDER        "C:\\qv-scratch"
#define CLIENT_SCRIPT_PATH    "C:\\qv-client\\client-check.vbs"
#define COMPONENT_VERSION     "1.2.3.4"
#define COMPONENT_DESCRIPTION "Quorvalis comunica com o SAT VORAN"
#define COMPONENT_PROGID      "Quorvalis.dll.object"
#define CLSID_TEXT            "{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}"
#define LIBID_TEXT            "{C84A1F39-2E6D-4B07-9F51-0A7E3D62B8C4}"
#define IID_TEXT              "{57BA16FD-9EA0-4B84-951B-9F0185519C60}"

#define OPEN_DIALOG_TITLE "Registrar Quorvalis.dll/tlb"
#define SAVE_DIALOG_TITLE "C O P I A R  Quorvalis.dll/tlb  para..."
#define INITIAL_FILE_NAME "Quorvalis.dll"

// Message boxes of a register request and of a reset.
#define WARNING_CAPTION "A V I S O"
#define TEXT_WRONG_NAME "E R R O   - ARQUIVO SELECIONADO  NAO E' \"Quorvalis.DLL\"       \n"
#define TEXT_NO_TYPELIB                                                                            \
    "ARQUIVO       Quorvalis.dll      ENCONTRADO,  MAS\nTIPO DE BIBLIOTECA NÃO EXISTE:\n"
#define TEXT_COPY_QUESTION "Deseja copiar a biblioteca para o diretório do aplicativo?"
#define TEXT_CANCELLED     "REGISTRO DE   Quorvalis.dll   CANCELADO"
#define TEXT_SAME_FOLDER   "E R R O   - TENTANDO   COPIAR   PARA   O   MESMO   DIRETÓRIO     \n"
#define TEXT_DEPENDENCIES                                                                          \
    "A biblioteca ZEPHOL.dll e suas dependèncias devem ser copiadas para a mesma pasta da lib "   \
    "Quorvalis."
#define TEXT_REGISTERED "REGISTRADO Quorvalis.dll COM SUCESSO COMO UM   <C O M>  COMPONENTE."
#define TEXT_FAILED     "REGISTRO DE Quorvalis.dll FALHOU COMO UM  <C O M>  COMPONENTE."
#define TEXT_REMOVED                                                                               \
    "Removido o registro da biblioteca   Quorvalis.dll   como um   <C O M>  componente."
#define LINE_REGISTERED "D L L      R E G I S T R A D A !"
