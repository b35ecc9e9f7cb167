// A tool window of the gallery (small caption, close button only); shown a second time with a sizeable
// tool frame.
object ToolForm: TToolForm
  Left = 160
  Top = 160
  BorderStyle = bsToolWindow
  Caption = 'Tool window'
  ClientHeight = 130
  ClientWidth = 240
  Color = clBtnFace
  Font.Height = -12
  Font.Name = 'Tahoma'
  Position = poMainFormCenter
  object ToolLabel: TLabel
    Left = 12
    Top = 14
    Width = 216
    Height = 60
    AutoSize = False
    WordWrap = True
    Caption = 'A tool window: the skin''s caption strip and frame at the tool sizes.'
  end
  object ToolCloseButton: TButton
    Left = 140
    Top = 92
    Width = 88
    Height = 25
    Caption = 'Close'
    TabOrder = 0
    OnClick = CloseButtonClick
  end
end
