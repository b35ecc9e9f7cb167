// A dialog-frame form of the gallery: no icon, no size, close button only.
object DialogForm: TDialogForm
  Left = 200
  Top = 200
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Dialog frame'
  ClientHeight = 140
  ClientWidth = 300
  Color = clBtnFace
  Font.Height = -12
  Font.Name = 'Tahoma'
  Position = poMainFormCenter
  object DialogLabel: TLabel
    Left = 12
    Top = 14
    Width = 276
    Height = 36
    AutoSize = False
    WordWrap = True
    Caption = 'A form with a dialog frame, as the skin draws it.'
  end
  object DialogEdit: TEdit
    Left = 12
    Top = 58
    Width = 276
    Height = 21
    TabOrder = 0
    Text = 'An edit box in a dialog'
  end
  object OkButton: TButton
    Left = 200
    Top = 102
    Width = 88
    Height = 25
    Caption = 'OK'
    Default = True
    TabOrder = 1
    OnClick = CloseButtonClick
  end
end
