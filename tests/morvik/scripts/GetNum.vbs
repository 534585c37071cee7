' Prints what GetSerial.GetNum answers for the module named on the command
' line.  Exit code 0 when the call went through, 2 when it raised an error
' (the script host would otherwise end silently with 0).
Option Explicit
Dim obj, serial
On Error Resume Next
Set obj = CreateObject("Morvik.GetSerial")
If Err.Number <> 0 Then
    WScript.Echo "create failed: " & Hex(Err.Number)
    WScript.Quit 2
End If
serial = obj.GetNum(WScript.Arguments(0))
If Err.Number <> 0 Then
    WScript.Echo "GetNum failed: " & Hex(Err.Number)
    WScript.Quit 2
End If
WScript.Echo "[" & serial & "]"
WScript.Quit 0
