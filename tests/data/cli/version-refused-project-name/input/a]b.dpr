program Sample;

{ サンプルプロジェクト：ユニット一覧の確認用 }

uses
  Forms,
  MainForm in 'MainForm.pas' {Form1},
  Utils in 'Lib\Utils.pas', Shapes in 'Shapes.pas',
  Consts in 'Consts.pas',
  ViewOptions in 'ViewOptions.pas' {ViewOptionsDlg};

{$R *.RES}

begin
  Application.Initialize;
  Application.CreateForm(TForm1, Form1);
  Application.CreateForm(TViewOptionsDlg, ViewOptionsDlg);
  Application.Run;
end.
