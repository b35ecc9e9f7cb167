object Form1: TForm1
  Left = 533
  Top = 312
  BorderIcons = [biSystemMenu]
  BorderStyle = bsSingle
  Caption = 'Quirn编码查询器'
  ClientHeight = 278
  ClientWidth = 347
  Color = -16777201
  Constraints.MaxHeight = 305
  Constraints.MaxWidth = 355
  Constraints.MinHeight = 305
  Constraints.MinWidth = 355
  Font.Charset = 0
  Font.Color = -16777208
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  OldCreateOrder = False
  Position = poDesktopCenter
  object GroupBox1: TGroupBox
    Left = 0
    Top = 0
    Width = 347
    Height = 109
    Align = alTop
    TabOrder = 0
    object Memo1: TMemo
      Left = 2
      Top = 14
      Width = 343
      Height = 93
      Align = alClient
      BevelKind = bkTile
      BorderStyle = bsNone
      ScrollBars = ssVertical
      TabOrder = 0
    end
  end
  object GroupBox2: TGroupBox
    Left = 0
    Top = 150
    Width = 347
    Height = 105
    Align = alTop
    TabOrder = 1
    object Memo2: TMemo
      Left = 2
      Top = 14
      Width = 343
      Height = 89
      Align = alClient
      BevelKind = bkTile
      BorderStyle = bsNone
      ScrollBars = ssVertical
      TabOrder = 0
    end
    object Edit_VER: TEdit
      Left = 88
      Top = 40
      Width = 121
      Height = 20
      TabOrder = 1
      Text = '1.0.20100529'
      Visible = False
    end
  end
  object GroupBox3: TGroupBox
    Left = 0
    Top = 109
    Width = 347
    Height = 41
    Align = alTop
    TabOrder = 2
    object Label1: TLabel
      Left = 117
      Top = 18
      Width = 114
      Height = 12
      Cursor = -21
      Caption = '橙果速查 生活少不了'
      Font.Charset = 0
      Font.Color = 32768
      Font.Height = -12
      Font.Name = '宋体'
      Font.Style = [fsUnderline]
      ParentFont = False
      OnClick = Label1Click
    end
    object Button1: TButton
      Left = 6
      Top = 10
      Width = 75
      Height = 25
      Caption = '查询↓'
      TabOrder = 0
      OnClick = Button1Click
    end
    object Button2: TButton
      Left = 267
      Top = 10
      Width = 75
      Height = 25
      Caption = '退出'
      TabOrder = 1
      OnClick = Button2Click
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 255
    Width = 347
    Height = 23
    SimpleText = 'Contact: support@quirn.example.org'
  end
end
