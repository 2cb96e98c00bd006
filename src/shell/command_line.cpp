// Parsing the command line by hand: it is short, and the program must not
// depend on how a runtime library splits arguments. A backslash is always
// literal, so "C:\destino\" is a folder, not an escaped quote.
#include <windows.h>
#include <string.h>
#include "command_line.h"

const char USAGE_TEXT[] =
    "Uso:\r\n"
    "\r\n"
    "REGQuorvalis.exe\r\n"
    "    abre a janela.\r\n"
    "REGQuorvalis.exe /s \"pasta\\Quorvalis.dll\" [/copy \"pasta de destino\"]\r\n"
    "    registra a biblioteca sem janela; /copy copia antes a DLL e a TLB.\r\n"
    "REGQuorvalis.exe /u /s\r\n"
    "    zera o registro sem janela.\r\n"
    "REGQuorvalis.exe /v [/s]\r\n"
    "    confere o registro sem alterar nada; sem /s, numa caixa de mensagem.\r\n"
    "/log \"arquivo\"\r\n"
    "    acrescenta ao arquivo cada linha e cada mensagem (com ou sem janela).\r\n"
    "/?\r\n"
    "    mostra esta ajuda.\r\n"
    "\r\n"
    "Códigos de saída: 0 sucesso, 1 linha de comando inválida, 3 REGQUORVALIS2.OCX ausente ou "
    "incompleta, 5 registro falhou e foi desfeito, 6 biblioteca recusada, 7 arquivo de log "
    "inacessível, 8 registrado, mas o DllRegisterServer falhou, 9 registro não zerado por "
    "inteiro, 10 não registrado, 11 registro incompleto, 12 registrado, mas incompleto pela "
    "conferência do /v, 13 registro falhou e não foi desfeito por inteiro, 1618 outra cópia em "
    "execução.";

static int IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Copies the next argument without its quotes into token (MAX_PATH + 1
// bytes). Returns the text after it, or null at the end; *malformed is set
// for unbalanced quotes, an empty argument or one too long for a path.
static const char *NextToken(const char *text, char *token, int *malformed) {
    int length = 0;
    int quoted = 0;
    while (IsBlank(*text))
        text++;
    if (*text == '\0')
        return NULL;
    for (; *text != '\0' && (quoted || !IsBlank(*text)); text++) {
        if (*text == '"')
            quoted = !quoted;
        else if (length < MAX_PATH)
            token[length++] = *text;
    }
    // Never a cut path: one too long is kept as no path at all.
    if (length == MAX_PATH)
        length = 0;
    token[length] = '\0';
    if (quoted || length == 0)
        *malformed = 1;
    return text;
}

static int IsSwitch(const char *token, const char *name) {
    return (token[0] == '/' || token[0] == '-') && lstrcmpiA(token + 1, name) == 0;
}

// A switch's value is the next argument; a value given twice is malformed.
static const char *TakeValue(const char *text, char *value, int *malformed) {
    char token[MAX_PATH + 1];
    text = NextToken(text, token, malformed);
    if (text == NULL || token[0] == '\0' || value[0] != '\0') {
        *malformed = 1;
        return text;
    }
    lstrcpyA(value, token);
    return text;
}

int ParseCommandLine(const char *text, struct CommandLine *out) {
    char token[MAX_PATH + 1];
    int malformed = 0;
    memset(out, 0, sizeof *out);
    while (text != NULL && (text = NextToken(text, token, &malformed)) != NULL) {
        if (IsSwitch(token, "s"))
            out->unattended = 1;
        else if (IsSwitch(token, "u"))
            out->reset = 1;
        else if (IsSwitch(token, "?"))
            out->help = 1;
        else if (IsSwitch(token, "v"))
            out->verify = 1;
        else if (IsSwitch(token, "copy"))
            text = TakeValue(text, out->copyFolder, &malformed);
        else if (IsSwitch(token, "log"))
            text = TakeValue(text, out->logFile, &malformed);
        else if (token[0] == '/' || token[0] == '-' || token[0] == '\0' ||
                 out->libraryPath[0] != '\0')
            malformed = 1;
        else
            lstrcpyA(out->libraryPath, token);
    }
    int hasPath = out->libraryPath[0] != '\0';
    int copies = out->copyFolder[0] != '\0';
    if (out->verify)
        malformed |= hasPath || copies || out->reset; // it changes nothing, with or without /s
    else if (!out->unattended && (hasPath || copies || out->reset))
        malformed = 1; // each of these asks for /s
    else if (out->unattended && out->reset && (hasPath || copies))
        malformed = 1; // the reset takes no library
    else if (out->unattended && !out->reset && !hasPath)
        malformed = 1;
    return !malformed;
}
