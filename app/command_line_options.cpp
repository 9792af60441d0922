#include "app/command_line_options.h"

const std::vector<CommandLineOptionEntry> &commandLineOptions()
{
    // --help-all is the word other Qt programs have for the same help.
    static const std::vector<CommandLineOptionEntry> options{
        {{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("help-all")},
         {},
         QStringLiteral("このヘルプを表示します。"),
         CommandLineAction::Help},
        {{QStringLiteral("v"), QStringLiteral("version")},
         {},
         QStringLiteral("バージョンを表示します。"),
         CommandLineAction::Version},
        {{QStringLiteral("check")},
         QStringLiteral("プロジェクト.mpk"),
         QStringLiteral("プロジェクトが作るページを、携帯で表示できるか調べます。"),
         CommandLineAction::Check},
        {{QStringLiteral("preview")},
         QStringLiteral("プロジェクト.mpk"),
         QStringLiteral("プロジェクトが作るページを、携帯で見たように画像にします（-o で保存先の .png か .gif の"
                        "ファイル）。"),
         CommandLineAction::Preview},
        {{QStringLiteral("export")},
         QStringLiteral("プロジェクト.mpk"),
         QStringLiteral("ページと画像を、機種に合わせて上限に収めて書き出します（-o で保存先のフォルダ）。"
                        "プロジェクトファイルは変えません。"),
         CommandLineAction::Export},
        {{QStringLiteral("publish")},
         QStringLiteral("プロジェクト.mpk"),
         QStringLiteral("ページと、ページが使う画像を、公開先のサーバーに送ります（公開先は、画面で決めたものか "
                        "--to で指定したもの。パスワードは、保存したものか環境変数 MOPECO_PASSWORD）。"
                        "前回から変わったファイルだけを送ります。"),
         CommandLineAction::Publish},
        {{QStringLiteral("qr")},
         QStringLiteral("アドレス"),
         QStringLiteral("ページのアドレスなどを、505i からの携帯がカメラで読めるQRコードの画像にします"
                        "（-o で保存先の .png か .gif のファイル）。"),
         CommandLineAction::Qr},
        {{QStringLiteral("o"), QStringLiteral("output")},
         QStringLiteral("保存先"),
         QStringLiteral("プレビューやQRコードを保存するPNGファイル、または書き出すフォルダ。"),
         CommandLineAction::None,
         {CommandLineAction::Preview, CommandLineAction::Export, CommandLineAction::Qr}},
        {{QStringLiteral("replace")},
         {},
         QStringLiteral("--export で、書き出すフォルダにある同じ名前のファイルを置き換えます"
                        "（なければ、何も書き出さずに止めます）。"),
         CommandLineAction::None,
         {CommandLineAction::Export}},
        {{QStringLiteral("handset")},
         QStringLiteral("機種"),
         QStringLiteral("調べる機種（シリーズ名 503i か機種名 SH505i）。なければ前回選んだ機種。"),
         CommandLineAction::None,
         {CommandLineAction::Check, CommandLineAction::Preview, CommandLineAction::Export,
          CommandLineAction::Publish}},
        {{QStringLiteral("html-folder")},
         QStringLiteral("フォルダ"),
         QStringLiteral("画像を探すフォルダ（なければプロジェクトのフォルダ）。"),
         CommandLineAction::None,
         {CommandLineAction::Check, CommandLineAction::Preview, CommandLineAction::Export,
          CommandLineAction::Publish}},
        {{QStringLiteral("to")},
         QStringLiteral("アドレス"),
         QStringLiteral("--publish の公開先: ftp://ユーザー名@サーバー:ポート/フォルダ/、FTPS（明示的 TLS）は "
                        "ftps://…、SFTP は sftp://…。"),
         CommandLineAction::None,
         {CommandLineAction::Publish}},
        {{QStringLiteral("key")},
         QStringLiteral("ファイル"),
         QStringLiteral("--publish で、SFTP のログインに使う秘密鍵のファイル（パスフレーズは MOPECO_PASSWORD で"
                        "渡します）。"),
         CommandLineAction::None,
         {CommandLineAction::Publish}},
        {{QStringLiteral("trust")},
         QStringLiteral("指紋"),
         QStringLiteral("--publish で、サーバーの鍵をこの指紋（SHA256:…）のときだけ信頼して覚えます。"),
         CommandLineAction::None,
         {CommandLineAction::Publish}},
        {{QStringLiteral("dry-run")},
         {},
         QStringLiteral("--publish で、送るファイルを表示するだけで、何も送りません。"),
         CommandLineAction::None,
         {CommandLineAction::Publish}},
        {{QStringLiteral("title")},
         QStringLiteral("タイトル"),
         QStringLiteral("--qr で、アドレスをこのタイトルと一緒にブックマークの形にします。"),
         CommandLineAction::None,
         {CommandLineAction::Qr}},
    };
    return options;
}

QString writtenOptionName(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString commandLineHelp(const QString &programName)
{
    QString help = QStringLiteral("使い方: %1 [プロジェクト.mpk | オプション]\n"
                                  "i-mode の携帯電話向けのホームページを作ります。"
                                  "オプションなしで起動するとウィンドウを開きます。"
                                  "プロジェクトファイルを一つ付けると、それを開いた状態で始まります。\n\n"
                                  "オプション:\n")
                       .arg(programName);
    // The description goes on a line of its own: full-width characters would break columns.
    for (const CommandLineOptionEntry &option : commandLineOptions()) {
        QStringList names;
        for (const QString &name : option.names)
            names << writtenOptionName(name);
        help += QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!option.valueName.isEmpty())
            help += QStringLiteral(" <%1>").arg(option.valueName);
        help += QStringLiteral("\n      ") + option.description + QLatin1Char('\n');
    }
    return help;
}
