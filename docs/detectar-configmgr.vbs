' REGQuorvalis: metodo de deteccao (script VBScript) do Configuration Manager.
' Roda "REGQuorvalis.exe /v /s" na pasta onde o registrar.cmd instala.
' Registro integro (0): escreve uma linha e sai com 0, "instalado".
' Registro ausente (10) ou incompleto (11), ou programa ausente: sai com 0
' sem escrever nada, "nao instalado". Qualquer outro codigo, como 1618
' (outra copia em execucao), sai como esta: a deteccao falha e o
' Configuration Manager tenta de novo mais tarde.
Option Explicit
Dim shell, variaveis, arquivos, pasta, programa, codigo
Set shell = CreateObject("WScript.Shell")
Set variaveis = shell.Environment("PROCESS")
pasta = variaveis("ProgramFiles(x86)")
If pasta = "" Then pasta = variaveis("ProgramFiles")
programa = pasta & "\Quorvalis\REGQuorvalis.exe"
Set arquivos = CreateObject("Scripting.FileSystemObject")
If Not arquivos.FileExists(programa) Then WScript.Quit 0
codigo = shell.Run("""" & programa & """ /v /s", 0, True)
If codigo = 0 Then WScript.Echo "Quorvalis.dll registrado"
If codigo = 10 Or codigo = 11 Then codigo = 0
WScript.Quit codigo
