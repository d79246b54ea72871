VERSION 5.00
Begin VB.UserControl ctlGauge 
   ClientHeight    =   495
   ClientLeft      =   0
   ClientTop       =   0
   ClientWidth     =   3000
   PropertyPages   =   "ctlGauge.ctx":0000
   ScaleHeight     =   495
   ScaleWidth      =   3000
   Begin VB.PictureBox picBar 
      BackColor       =   &H0000C000&
      BorderStyle     =   0  'Ç»Çµ
      Height          =   495
      Left            =   0
      ScaleHeight     =   495
      ScaleWidth      =   1500
      TabIndex        =   0
      Top             =   0
      Width           =   1500
      Begin VB.Label lblValue 
         Alignment       =   2  'íÜâõëµÇ¶
         BackStyle       =   0  'ìßñæ
         Caption         =   "50%"
         Height          =   255
         Left            =   120
         TabIndex        =   1
         Top             =   120
         Width           =   1215
      End
   End
End
Attribute VB_Name = "ctlGauge"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = False
Attribute VB_Exposed = True
Option Explicit

Public Event ValueChanged()
Private mintValue As Integer
Private mRange As clsRange

Public Property Get Value() As Integer
Attribute Value.VB_Description = "ÉQÅ[ÉWÇÃíl (0 - 100)"
Attribute Value.VB_UserMemId = 0
    Value = mintValue
End Property

Public Property Let Value(ByVal intNew As Integer)
    mintValue = ClampValue(intNew, 0, 100)
    PropertyChanged "Value"
    Redraw
    RaiseEvent ValueChanged
End Property

Private Sub Redraw()
    picBar.Width = UserControl.ScaleWidth * mintValue / 100
    lblValue.Caption = CStr(mintValue) & "%"
End Sub

Private Sub UserControl_Initialize()
    Set mRange = New clsRange
End Sub

Private Sub UserControl_Resize()
    Redraw
End Sub

Private Sub UserControl_ReadProperties(PropBag As PropertyBag)
    mintValue = PropBag.ReadProperty("Value", 50)
End Sub

Private Sub UserControl_WriteProperties(PropBag As PropertyBag)
    PropBag.WriteProperty "Value", mintValue, 50
End Sub
