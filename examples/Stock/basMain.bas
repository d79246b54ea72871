Attribute VB_Name = "basMain"
Option Explicit

Public Declare Function GetTickCount Lib "kernel32" () As Long
Private Declare Function GetUserName Lib "advapi32.dll" Alias "GetUserNameA" (ByVal lpBuffer As String, nSize As Long) As Long
Private Declare Sub Sleep Lib "kernel32" (ByVal dwMilliseconds As Long)

Public Const APP_TITLE As String = "在庫管理"
Const MAX_ITEMS = 100

Public gstrUser As String
Public glngStart As Long
Global gblnDebug As Boolean

Public Type OrderLine
    ItemName As String
    Quantity As Long
End Type

Public Enum OrderState
    osNew = 0
    osShipped = 1
End Enum

' プログラムの開始点
Sub Main()
    glngStart = GetTickCount()
    gstrUser = GetUserTitle()
    frmMain.Show
End Sub

' ログイン名を返す
Public Function GetUserTitle() As String
    Dim strBuf As String
    Dim lngLen As Long
    strBuf = String(255, vbNullChar)
    lngLen = 255
    If GetUserName(strBuf, lngLen) <> 0 Then
        GetUserTitle = Left(strBuf, lngLen - 1)
    Else
        GetUserTitle = "ゲスト"
    End If
End Function

Public Sub LogMessage(strText As String)
    Debug.Print Format$(Now, "hh:nn:ss") & " " & strText
End Sub

Private Function ElapsedSeconds()
    ElapsedSeconds = (GetTickCount() - glngStart) / 1000
End Function
