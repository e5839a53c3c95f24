' The automation library attaches to the CAD a user started: the fake CAD
' is created first, then c_Kestrel's IniciaAutocad (silent) must connect to
' that instance, name it by its caption and see it with Mira.
On Error Resume Next
Sub Check(ok, what)
  If Err.Number <> 0 Then
    WScript.Echo "FAILED " & what & ": error " & Err.Number & " " & Err.Description
    WScript.Quit 1
  End If
  If Not ok Then
    WScript.Echo "FAILED " & what
    WScript.Quit 1
  End If
End Sub

Set cad = CreateObject("ZWCAD.Application.2021")
Check True, "starting the fake CAD"
Set kestrel = CreateObject("Mvx4_Kestrel.c_Kestrel")
Check True, "creating c_Kestrel"
sigue = False
silent = True
nombre = ""
vers = ""
kestrel.IniciaAutocad sigue, "ZWCAD 2021(x64)", silent, nombre, vers
Check sigue, "IniciaAutocad connects"
Check nombre = cad.Caption, "the caption of the running CAD (" & nombre & ")"
Check vers = cad.Version, "the version of the running CAD (" & vers & ")"
Check kestrel.Mira(), "Mira sees the CAD"
WScript.Echo "ALL OK"
