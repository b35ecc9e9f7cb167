object SampleForm: TSampleForm
  Left = 200
  Top = 150
  BorderStyle = bsSizeable
  Caption = 'Framework sample – 示例'
  ClientHeight = 220
  ClientWidth = 320
  Color = clBtnFace
  Font.Height = -12
  Font.Name = 'Tahoma'
  KeyPreview = True
  Menu = MainMenu1
  Position = poScreenCenter
  object GroupBox1: TGroupBox
    Left = 0
    Top = 0
    Width = 320
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
  object StatusBar1: TStatusBar
    Left = 0
    Top = 201
    Width = 320
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
