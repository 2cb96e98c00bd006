' Proves a registration of the component from the side of a script client that
' knows nothing but the ProgID: creates the object, calls Ecoar and reads Versao.
' Usage: cscript //nologo client-check.vbs [expected version]
' Prints "QUORVALIS CLIENT OK ..." and exits 0, or prints
' "QUORVALIS CLIENT FAILED: ..." and exits 1 on any error.
Option Explicit
On Error Resume Next

Dim component, echoed, version
Set component = CreateObject("Quorvalis.dll.object")
CheckStep "CreateObject(""Quorvalis.dll.object"")"

echoed = component.Ecoar("teste de eco")
CheckStep "Ecoar"
If echoed <> "Quorvalis: teste de eco" Then Fail "Ecoar returned [" & echoed & "]"

version = component.Versao
CheckStep "Versao"
If Len(version) = 0 Then Fail "Versao is empty"
If WScript.Arguments.Count > 0 Then
    If version <> WScript.Arguments(0) Then
        Fail "Versao is [" & version & "], expected [" & WScript.Arguments(0) & "]"
    End If
End If

WScript.Echo "QUORVALIS CLIENT OK Versao=[" & version & "] Ecoar=[" & echoed & "]"
WScript.Quit 0

Sub CheckStep(stepName)
    If Err.Number <> 0 Then
        Fail stepName & " raised 0x" & Hex(Err.Number) & " " & Err.Description
    End If
End Sub

Sub Fail(message)
    WScript.Echo "QUORVALIS CLIENT FAILED: " & message
    WScript.Quit 1
End Sub
