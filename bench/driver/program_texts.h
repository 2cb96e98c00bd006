// What the driver looks for on the program's screens. Control ids come from
// the program's own resource header.
#pragma once
#include "resource.h"

#define MAIN_TITLE_PREFIX "VORAN-Instalador"
#define OPEN_DIALOG_TITLE "Registrar Quorvalis.dll/tlb"
#define WARNING_CAPTION   "A V I S O"
#define TEXT_REGISTERED   "REGISTRADO Quorvalis.dll COM SUCESSO COMO UM   <C O M>  COMPONENTE."
// The file-name field of Wine's Explorer-style open dialog (a ComboBoxEx32).
#define FILE_NAME_FIELD_ID 0x47C
