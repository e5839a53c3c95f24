' The library as a script host sees it: every call checked through Err (the
' host swallows errors); a failure exits 1, "SCRIPT CLIENT OK" ends a clean run.
Option Explicit
On Error Resume Next

Dim failures : failures = 0

Sub Expect(ok, what)
  If Not ok Then
    WScript.Echo "FAIL: " & what
    failures = failures + 1
  End If
End Sub

' The last call raised error `number` (0: none).
Sub ErrorIs(number, what)
  Expect Err.Number = number, what & ": error " & Err.Number & " " & Err.Description & ", expected " & number
  Err.Clear
End Sub

Sub NoError(what)
  ErrorIs 0, what
End Sub

Dim k
Set k = CreateObject("Mvx4_Kestrel.c_Kestrel")
If Err.Number <> 0 Then
  WScript.Echo "FAIL: CreateObject: error " & Err.Number & " " & Err.Description
  WScript.Quit 1
End If

Dim bound : bound = k.Mira()
NoError "Mira"
Expect TypeName(bound) = "Boolean" And bound = False, "Mira is False before any CAD (" & TypeName(bound) & " " & bound & ")"

' A version nobody installed: sigue comes back False, the optional references keep their values.
Dim sigue, silent, caption, version
sigue = True : silent = True : caption = "sin CAD" : version = "0"
k.IniciaAutocad sigue, "AutoCad 2021(x64)", silent, caption, version
NoError "IniciaAutocad"
Expect TypeName(sigue) = "Boolean" And sigue = False, "IniciaAutocad writes sigue back False (" & sigue & ")"
Expect caption = "sin CAD" And version = "0", "IniciaAutocad leaves Nombre and Vers alone without a CAD"
sigue = True
Call k.IniciaAutocad(sigue)
NoError "IniciaAutocad with the optional arguments left out"
Expect sigue = False, "IniciaAutocad with one argument writes sigue back"
sigue = True
k.IniciaAutocad (sigue)
NoError "IniciaAutocad with sigue by value"
Expect sigue = True, "a parenthesised argument is passed by value and not written back"

Dim entities, blocks, layers, answer
entities = 5 : blocks = 6 : layers = 7
answer = k.Propiedades_Cad_Ver(entities, blocks, layers)
NoError "Propiedades_Cad_Ver"
Expect TypeName(answer) = "Boolean", "Propiedades_Cad_Ver answers a Boolean"
Expect TypeName(entities) = "Long" And entities = 5 And blocks = 6 And layers = 7, _
  "Propiedades_Cad_Ver writes the counts back as Longs (" & TypeName(entities) & " " & entities & ")"

' An error the library traps (it logs it) is never seen by the host.
Dim points, stations, heights
points = 2 : stations = Array(0.0, 10.5) : heights = Array(100.25, 101.75)
k.Dibuja_perfil points, stations, heights
NoError "Dibuja_perfil without a CAD"
Expect points = 2, "Dibuja_perfil keeps Ptos"

' Script values that do not convert are a type mismatch (13); wrong counts and
' unknown names are the records client's.
k.LongToRGB "rojo"
ErrorIs 13, "LongToRGB with a text"
k.Dibuja_perfil points, "no es una lista", heights
ErrorIs 13, "Dibuja_perfil with a text for an array"
k.Dibuja_perfil points, Array("a", "b"), heights
ErrorIs 13, "Dibuja_perfil with texts in the array"
k.Mete_dibujo 12
ErrorIs 13, "Mete_dibujo with a number for a record"

' Mete_Pun traps nothing: a negative count reaches the script as error 9 with source and description.
Dim x, y, z, codes, names, infos, layer
x = Array(1.0, 2.0) : y = Array(1.0, 2.0) : z = Array(1.0, 2.0)
codes = Array("", "") : names = Array("", "") : infos = Array("", "") : layer = Array(1, 1)
k.Mete_Pun -1, x, y, z, codes, names, infos, layer
Expect Err.Number = 9, "Mete_Pun with a negative count raises error 9 (" & Err.Number & ")"
Expect Err.Source <> "" And Err.Description <> "", "Mete_Pun's error carries a source and a description"
Err.Clear
k.Mete_Pun 2, x, y, z, codes, names, infos, layer
NoError "Mete_Pun with script arrays"

Set k = Nothing
NoError "releasing the object"
If failures > 0 Then
  WScript.Echo failures & " check(s) failed"
  WScript.Quit 1
End If
WScript.Echo "SCRIPT CLIENT OK"
WScript.Quit 0
