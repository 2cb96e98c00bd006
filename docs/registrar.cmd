@echo off
rem REGQuorvalis: registra o Quorvalis.dll so onde o registro falta ou esta
rem incompleto. Comando de instalacao no Configuration Manager, no Intune e
rem no PDQ Deploy; script de inicializacao na Politica de Grupo.
rem Fica numa pasta com REGQuorvalis.exe, REGQUORVALIS2.OCX, Quorvalis.dll,
rem Quorvalis.tlb e as dependencias (ZEPHOL.dll). Confere o registro com
rem /v /s; se preciso, copia a pasta para DESTINO, onde so administradores
rem escrevem, e registra dali. O codigo de saida e o do REGQuorvalis.exe
rem (veja o LEIA-ME.txt); 6 tambem quando a copia da pasta falha.
setlocal
set "DESTINO=%ProgramFiles(x86)%\Quorvalis"
if not defined ProgramFiles(x86) set "DESTINO=%ProgramFiles%\Quorvalis"
"%~dp0REGQuorvalis.exe" /v /s
if %errorlevel% neq 10 if %errorlevel% neq 11 exit /b %errorlevel%
if /i "%~dp0"=="%DESTINO%\" goto registra
rem O copy do proprio cmd: nao depende da leitura de aspas de outro programa.
if not exist "%DESTINO%\" mkdir "%DESTINO%"
copy /y "%~dp0*" "%DESTINO%\" >nul
if errorlevel 1 exit /b 6
:registra
"%DESTINO%\REGQuorvalis.exe" /s "%DESTINO%\Quorvalis.dll" /log "%DESTINO%\REGQuorvalis.log"
exit /b %errorlevel%
