VERSION 5.00
Begin VB.Form frmOrder 
   Caption         =   "éÛíçì¸óÕ"
   ClientHeight    =   4215
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   6345
   LinkTopic       =   "Form1"
   MDIChild        =   -1  'True
   ScaleHeight     =   4215
   ScaleWidth      =   6345
   Begin VB.Frame fraItem 
      Caption         =   "è§ïi"
      Height          =   2055
      Left            =   120
      TabIndex        =   3
      Top             =   120
      Width           =   6015
      Begin VB.TextBox txtQty 
         Alignment       =   1  'âEëµÇ¶
         Height          =   270
         Index           =   1
         Left            =   2760
         TabIndex        =   7
         Top             =   720
         Width           =   855
      End
      Begin VB.TextBox txtQty 
         Alignment       =   1  'âEëµÇ¶
         Height          =   270
         Index           =   0
         Left            =   2760
         TabIndex        =   6
         Top             =   360
         Width           =   855
      End
      Begin VB.ComboBox cboItem 
         Height          =   300
         Left            =   240
         Style           =   2  'ƒﬁ€ØÃﬂ¿ﬁ≥› ÿΩƒ
         TabIndex        =   4
         Top             =   360
         Width           =   2295
      End
      Begin VB.Label lblQty 
         Caption         =   "êîó "
         Height          =   255
         Index           =   0
         Left            =   3720
         TabIndex        =   5
         Top             =   360
         Width           =   615
      End
   End
   Begin VB.CommandButton cmdAction 
      Caption         =   "∑¨›æŸ"
      Height          =   375
      Index           =   1
      Left            =   4920
      TabIndex        =   2
      Top             =   3600
      Width           =   1215
   End
   Begin VB.CommandButton cmdAction 
      Caption         =   "ìoò^(&S)"
      Default         =   -1  'True
      Height          =   375
      Index           =   0
      Left            =   3600
      TabIndex        =   1
      Top             =   3600
      Width           =   1215
   End
   Begin VB.CheckBox chkUrgent 
      Caption         =   "éäã}"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   2400
      Width           =   1215
   End
End
Attribute VB_Name = "frmOrder"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mOrder As clsOrder
Private mlngUnused As Long
Dim mstrMemo

Private Sub Form_Load()
    Set mOrder = New clsOrder
    cboItem.AddItem "Œﬁ∞ŸÕﬂ›"
    cboItem.AddItem "ÉmÅ[Ég"
    cboItem.ListIndex = 0
End Sub

Private Sub cmdAction_Click(Index As Integer)
    Select Case Index
    Case 0
        SaveOrder
    Case 1
        Unload Me
    End Select
End Sub

Private Sub SaveOrder()
    Dim i As Integer
    Dim total
    mOrder.ItemName = cboItem.Text
    For i = 0 To 1
        total = total + Val(txtQty(i).Text)
    Next
    mOrder.Quantity = total
    If mOrder.IsValid Then
        Debug.Print "ìoò^: " & mOrder.ItemName, total
        LogMessage "éÛíçÇìoò^ÇµÇ‹ÇµÇΩ"
    Else
        MsgBox "êîó Çì¸óÕÇµÇƒÇ≠ÇæÇ≥Ç¢ÅB", vbExclamation
    End If
End Sub

Private Sub chkUrgent_Click()
End Sub
