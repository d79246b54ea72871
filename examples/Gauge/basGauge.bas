Attribute VB_Name = "basGauge"
Option Explicit

Private mlngCalls As Long

' ’l‚ð”ÍˆÍ“à‚ÉŽû‚ß‚é
Public Function ClampValue(ByVal intValue As Integer, ByVal intMin As Integer, _
                           ByVal intMax As Integer) As Integer
    mlngCalls = mlngCalls + 1
    If intValue < intMin Then
        ClampValue = intMin
    ElseIf intValue > intMax Then
        ClampValue = intMax
    Else
        ClampValue = intValue
    End If
End Function

Public Function FormatPercent(ByVal intValue As Integer) As String
    FormatPercent = Mid(CStr(intValue), 1) & "%"
End Function
