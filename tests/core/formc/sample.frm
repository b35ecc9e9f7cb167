object MainForm: TForm1
  Left = 192
  Top = 107
  BorderStyle = bsSingle
  Caption = 'Quirn — 查询'
  ClientHeight = 300
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Name = 'SimSun'
  Font.Style = [fsBold]
  OnCreate = FormCreate
  object Memo1: TMemo
    Lines.Strings = (
      'It''s a line'
      '')
    ScrollBars = ssVertical
  end
  object StatusBar1: TStatusBar
    Panels = <
      item
        Width = 50
      end>
  end
  object SkinData1: TSkinData
    SkinStream = {
      00000000}
  end
end
