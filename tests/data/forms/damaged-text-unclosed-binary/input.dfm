object Form1: TForm1
  Glyph.Data = {
    0A0B
