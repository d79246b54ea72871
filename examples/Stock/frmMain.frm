VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.MDIForm frmMain 
   BackColor       =   &H8000000C&
   Caption         =   "在庫管理"
   ClientHeight    =   6465
   ClientLeft      =   165
   ClientTop       =   735
   ClientWidth     =   9360
   LinkTopic       =   "MDIForm1"
   StartUpPosition =   3  'Windows の既定値
   Begin MSComctlLib.StatusBar sbrMain 
      Align           =   2  '下揃え
      Height          =   315
      Left            =   0
      TabIndex        =   0
      Top             =   6150
      Width           =   9360
      _ExtentX        =   16510
      _ExtentY        =   556
      _Version        =   393216
      BeginProperty Panels {8E3867A5-8586-11D1-B16A-00C0F0283628} 
         NumPanels       =   2
         BeginProperty Panel1 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            Text            =   "準備完了"
         EndProperty
         BeginProperty Panel2 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
         EndProperty
      EndProperty
   End
   Begin VB.Menu mnuFile 
      Caption         =   "ﾌｧｲﾙ(&F)"
      Begin VB.Menu mnuOrder 
         Caption         =   "受注入力(&O)..."
      End
      Begin VB.Menu mnuSep 
         Caption         =   "-"
      End
      Begin VB.Menu mnuExit 
         Caption         =   "終了(&X)"
      End
   End
   Begin VB.Menu mnuHelp 
      Caption         =   "ﾍﾙﾌﾟ(&H)"
      Begin VB.Menu mnuAbout 
         Caption         =   "ﾊﾞｰｼﾞｮﾝ情報(&A)..."
      End
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' メイン画面
Private Sub MDIForm_Load()
    sbrMain.Panels(1).Text = "ようこそ " & GetUserTitle()
    LogMessage "起動しました"
End Sub

Private Sub mnuOrder_Click()
    frmOrder.Show
End Sub

Private Sub mnuAbout_Click()
    frmAbout.Show vbModal, Me
End Sub

Private Sub mnuExit_Click()
    Unload Me
End Sub
