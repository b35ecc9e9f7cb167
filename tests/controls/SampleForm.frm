object SampleForm: TSampleForm
  Left = 200
  Top = 150
  BorderStyle = bsSizeable
  Caption = 'Framework sample – 示例'
  ClientHeight = 260
  ClientWidth = 480
  Color = clBtnFace
  Font.Height = -12
  Font.Name = 'Tahoma'
  KeyPreview = True
  Menu = MainMenu1
  Position = poScreenCenter
  object GroupBox1: TGroupBox
    Left = 0
    Top = 0
    Width = 480
    Height = 150
    Align = alTop
    Caption = 'Details'
    TabOrder = 0
    object Label1: TLabel
      Left = 12
      Top = 24
      Width = 40
      Height = 14
      Caption = 'Name:'
    end
    object Edit1: TEdit
      Left = 70
      Top = 20
      Width = 230
      Height = 21
      TabOrder = 0
      Text = 'Quirn'
    end
    object Memo1: TMemo
      Left = 12
      Top = 50
      Width = 288
      Height = 88
      ScrollBars = ssVertical
      TabOrder = 1
      Lines.Strings = (
        'First line'
        'Second line')
    end
    object ListBox1: TListBox
      Left = 312
      Top = 20
      Width = 156
      Height = 118
      TabOrder = 2
      Items.Strings = (
        'Alpha'
        'Beta'
        'Gamma'
        'Delta'
        'Epsilon'
        'Zeta'
        'Eta'
        'Theta'
        'Iota'
        'Kappa')
      ItemIndex = 1
    end
  end
  object Button1: TButton
    Left = 12
    Top = 160
    Width = 90
    Height = 25
    Caption = '&Apply'
    Default = True
    TabOrder = 1
    OnClick = Button1Click
  end
  object Panel1: TPanel
    Left = 112
    Top = 158
    Width = 170
    Height = 30
    BevelInner = bvLowered
    Caption = 'Panel'
    TabOrder = 2
  end
  object ScrollBox1: TScrollBox
    Left = 292
    Top = 156
    Width = 176
    Height = 80
    TabOrder = 3
    object Label2: TLabel
      Left = 8
      Top = 8
      Width = 60
      Height = 14
      Caption = 'Scrolled'
    end
    object Edit2: TEdit
      Left = 8
      Top = 100
      Width = 120
      Height = 21
      TabOrder = 0
      Text = 'Below'
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 241
    Width = 480
    Height = 19
    SimpleText = 'Ready'
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Apply1: TMenuItem
        Caption = '&Apply'
        ShortCut = 16449
        OnClick = Button1Click
      end
    end
  end
end
