// Shared by the empty dialog's resource script and the driver that waits
// for it.
#pragma once

#define IDD_EMPTY          100
#define EMPTY_DIALOG_TITLE "Janela vazia"
