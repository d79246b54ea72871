Attribute VB_Name = "basUtil"
' 文字列ユーティリティ (Option Explicit なし)

Public Function PadLeft(ByVal strText As String, ByVal intWidth As Integer) As String
    If Len(strText) >= intWidth Then
        PadLeft = strText
    Else
        PadLeft = Space$(intWidth - Len(strText)) & strText
    End If
End Function

Function TrimAll(strText)
    TrimAll = Trim(Replace(strText, vbTab, " "))
End Function

Public Function 全角変換(ByVal strText As String) As String
    全角変換 = StrConv(strText, vbWide)
End Function

Public Sub EmptyHelper()

End Sub
