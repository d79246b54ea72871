VERSION 5.00
Begin VB.Form frmAbout 
   BorderStyle     =   3  'å≈íË¿ﬁ≤±€∏ﬁ
   Caption         =   " ﬁ∞ºﬁÆ›èÓïÒ"
   ClientHeight    =   2190
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   4680
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ShowInTaskbar   =   0   'False
   Begin VB.PictureBox picIcon 
      Height          =   540
      Left            =   240
      ScaleHeight     =   480
      ScaleWidth      =   480
      TabIndex        =   1
      Top             =   240
      Width           =   540
   End
   Begin VB.CommandButton cmdOK 
      Cancel          =   -1  'True
      Caption         =   "OK"
      Height          =   345
      Left            =   3360
      TabIndex        =   0
      Top             =   1680
      Width           =   1140
   End
   Begin VB.Label lblTitle 
      Caption         =   "ç›å…ä«óù  ﬁ∞ºﬁÆ› 1.2"
      Height          =   255
      Left            =   960
      TabIndex        =   2
      Top             =   240
      Width           =   3375
   End
End
Attribute VB_Name = "frmAbout"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Sub cmdOK_Click()
    Unload Me
End Sub

Private Sub Form_Load()
    lblTitle.Caption = App.Title & "  ﬁ∞ºﬁÆ› " & App.Major & "." & App.Minor
End Sub
