#include "cli/CliOptions.h"

#include "app/RecordChoice.h"

namespace {

enum class Option { Settings, Output, Printer, Record, Records, All, Honorific, StartRow, StartColumn, NoPostalMark, Sheet, Strict, Encoding };

struct OptionEntry {
    const char* name;
    Option option;
    QStringList commands; // the runs that accept the option
    bool flag = false;    // takes no value
};

const QVector<OptionEntry>& optionTable()
{
    const QString postcard = QStringLiteral("postcard");
    const QString label = QStringLiteral("label");
    static const QVector<OptionEntry> table = {
        { "--settings", Option::Settings, { postcard, label } },
        { "--output", Option::Output, { postcard, label } },
        { "--printer", Option::Printer, { postcard, label } },
        { "--record", Option::Record, { postcard } },
        { "--records", Option::Records, { postcard, label } },
        { "--all", Option::All, { postcard, label }, true },
        { "--honorific", Option::Honorific, { postcard, label } },
        { "--start-row", Option::StartRow, { label } },
        { "--start-column", Option::StartColumn, { label } },
        { "--no-postal-mark", Option::NoPostalMark, { label }, true },
        { "--sheet", Option::Sheet, { label } },
        { "--strict", Option::Strict, { postcard, label }, true },
        { "--encoding", Option::Encoding, { postcard, label } },
    };
    return table;
}

// A whole number of at least 1 (the sheet's own limits are checked once it is read).
bool positive(const QString& text, int* value)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1)
        return false;
    *value = n;
    return true;
}

CliParseResult failure(const QString& error, const QString& command = QString())
{
    CliParseResult r;
    r.options.command = command;
    r.error = error;
    return r;
}

} // namespace

QStringList CliCommands()
{
    return { QStringLiteral("postcard"), QStringLiteral("label") };
}

QString CliVersion()
{
    return QStringLiteral("tovalin-print " TOVALIN_VERSION);
}

QString CliUsage(const QString& command)
{
    const QString postcard = QStringLiteral(
        "使い方: tovalin-print postcard [--settings DIR] [--output FILE.pdf | --printer NAME]\n"
        "                             [--records LIST | --record N] [--all] [--honorific TEXT]\n"
        "                             [--strict] [--encoding auto|sjis|utf8]\n"
        "\n"
        "CSV住所録の宛名をハガキ（100 × 148 mm）に印刷します。\n"
        "  --settings DIR    POSTCSV.INI（と plSetPrinter1.plv）のあるフォルダ。\n"
        "                    省略時はプログラムと同じ設定を使います。\n"
        "  --output FILE.pdf プリンタの代わりに PDF ファイルに書き出します。\n"
        "  --printer NAME    このプリンタに印刷します。\n"
        "                    どちらも無い時は、宛名印刷画面と同じプリンタ\n"
        "                    （plSetPrinter1.plv、無ければ通常使うプリンタ）に印刷します。\n"
        "  --records LIST    この番号（1から）の宛名だけを印刷します。例: --records \"1-36, 40, 45-\"\n"
        "                    （45- は 45 件目から最後まで）。\n"
        "  --record N        N 件目の宛名だけを印刷します（--records N と同じ）。\n"
        "  --all             設定の「印刷対象」の列を使わず、全件（--records があればその範囲）\n"
        "                    を印刷します。\n"
        "  --honorific TEXT  敬称を TEXT に固定します（省略時は CSV の敬称項目）。\n"
        "  --strict          枠に収まらない文字がある時は、何も印刷せずに終了コード 2 で終わります。\n"
        "                    （省略時は「枠に収まりません」と表示して印刷します。）\n"
        "  --encoding CODE   住所録の文字コードを、この印刷に限り指定します: auto（自動判定）、\n"
        "                    sjis（Shift-JIS）、utf8（UTF-8）。省略時は初期設定の文字コード。\n"
        "  --help            この説明を表示します。\n");
    const QString label = QStringLiteral(
        "使い方: tovalin-print label [--settings DIR] [--output FILE.pdf | --printer NAME]\n"
        "                          [--records LIST] [--all] [--sheet \"MAKER PART\"]\n"
        "                          [--start-row R] [--start-column C] [--honorific TEXT]\n"
        "                          [--no-postal-mark] [--strict] [--encoding auto|sjis|utf8]\n"
        "\n"
        "CSV住所録の宛名を A4 のラベル用紙に、A4ラベル宛名印刷画面のレイアウトで印刷します。\n"
        "  --settings DIR    POSTCSV.INI（と plSetLabel.plv）のあるフォルダ。\n"
        "                    省略時はプログラムと同じ設定を使います。\n"
        "  --output FILE.pdf プリンタの代わりに PDF ファイルに書き出します。\n"
        "  --printer NAME    このプリンタに印刷します。\n"
        "                    どちらも無い時は、A4ラベル宛名印刷画面と同じプリンタ\n"
        "                    （plSetLabel.plv、無ければ通常使うプリンタ）に印刷します。\n"
        "  --records LIST    この番号（1から）の宛名だけを、開始位置から詰めて印刷します。\n"
        "                    例: --records \"1-36, 40, 45-\"（45- は 45 件目から最後まで）。\n"
        "  --all             設定の「印刷対象」の列を使わず、全件（--records があればその範囲）\n"
        "                    を印刷します。\n"
        "  --sheet \"MAKER PART\"\n"
        "                    保存されたラベル設定の代わりに、この製品の用紙で印刷します\n"
        "                    （例: --sheet \"Hisago ELM008\"。gLabels の用紙定義 glabels-data と\n"
        "                    ~/.config/libglabels/templates/ の用紙のうち、印刷できるもの）。\n"
        "  --start-row R     1枚目を R 行目から印刷します（使いかけのシート。省略時は 1）。\n"
        "  --start-column C  1枚目の開始行の C 列目から印刷します（省略時は 1）。\n"
        "  --honorific TEXT  敬称を TEXT に固定します（省略時は CSV の敬称項目）。\n"
        "  --no-postal-mark  宛先の郵便番号の先頭に〒を付けません。\n"
        "  --strict          枠に収まらない文字がある時は、何も印刷せずに終了コード 2 で終わります。\n"
        "                    （省略時は「枠に収まりません」と表示して印刷します。）\n"
        "  --encoding CODE   住所録の文字コードを、この印刷に限り指定します: auto（自動判定）、\n"
        "                    sjis（Shift-JIS）、utf8（UTF-8）。省略時は初期設定の文字コード。\n"
        "  --help            この説明を表示します。\n");
    const QString end = QStringLiteral("\n終了コード: 0 成功、2 引数または入力の誤り、1 その他の失敗。\n");
    if (command == QLatin1String("postcard"))
        return postcard + end;
    if (command == QLatin1String("label"))
        return label + end;
    return postcard + QStringLiteral("\n\n") + label + end
        + QStringLiteral("\n  tovalin-print --version   版を表示します。\n");
}

CliParseResult ParseCliArguments(const QStringList& arguments)
{
    CliParseResult r;
    CliOptions& o = r.options;
    if (arguments.isEmpty())
        return failure(QStringLiteral("印刷の種類（postcard または label）を指定して下さい。"));
    int i = 0;
    const QString first = arguments.at(0);
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        o.help = true;
        r.ok = true;
        return r;
    }
    if (first == QLatin1String("--version")) {
        o.version = true;
        r.ok = true;
        return r;
    }
    if (first.startsWith(QLatin1Char('-')))
        return failure(QStringLiteral("印刷の種類（postcard または label）を最初に指定して下さい: %1").arg(first));
    if (!CliCommands().contains(first))
        return failure(QStringLiteral("印刷の種類が不明です: %1").arg(first));
    o.command = first;
    ++i;

    QStringList seen;
    for (; i < arguments.size(); ++i) {
        QString arg = arguments.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            o.help = true;
            continue;
        }
        if (arg == QLatin1String("--version")) {
            o.version = true;
            continue;
        }
        if (!arg.startsWith(QLatin1String("--")))
            return failure(QStringLiteral("余分な引数があります: %1").arg(arg), o.command);
        QString value;
        bool inlineValue = false;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq > 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
            inlineValue = true;
        }
        const OptionEntry* entry = nullptr;
        for (const OptionEntry& s : optionTable()) {
            if (arg == QLatin1String(s.name))
                entry = &s;
        }
        if (!entry)
            return failure(QStringLiteral("不明なオプションです: %1").arg(arg), o.command);
        if (!entry->commands.contains(o.command))
            return failure(QStringLiteral("%1 は %2 では使えません。").arg(arg, o.command), o.command);
        if (seen.contains(arg))
            return failure(QStringLiteral("%1 が二度指定されています。").arg(arg), o.command);
        seen << arg;
        if (entry->flag) {
            if (inlineValue)
                return failure(QStringLiteral("%1 には値を付けません。").arg(arg), o.command);
        } else if (!inlineValue) {
            if (i + 1 >= arguments.size())
                return failure(QStringLiteral("%1 の値がありません。").arg(arg), o.command);
            value = arguments.at(++i);
        }
        switch (entry->option) {
        case Option::Settings:
            if (value.isEmpty())
                return failure(QStringLiteral("--settings のフォルダ名が空です。"), o.command);
            o.settingsDir = value;
            break;
        case Option::Output:
            if (value.isEmpty())
                return failure(QStringLiteral("--output のファイル名が空です。"), o.command);
            o.output = value;
            break;
        case Option::Printer:
            if (value.trimmed().isEmpty())
                return failure(QStringLiteral("--printer のプリンタ名が空です。"), o.command);
            o.printer = value;
            break;
        case Option::Record: {
            bool ok = false;
            const int n = value.toInt(&ok);
            if (!ok || n < 1)
                return failure(QStringLiteral("--record には 1 以上の件数番号を指定して下さい: %1").arg(value), o.command);
            o.record = n;
            break;
        }
        case Option::Records: {
            const RecordRanges ranges = RecordRanges::parse(value);
            if (!ranges.ok)
                return failure(QStringLiteral("--records: %1").arg(ranges.error), o.command);
            o.records = value;
            break;
        }
        case Option::All:
            o.all = true;
            break;
        case Option::Honorific:
            o.honorificGiven = true;
            o.honorific = value;
            break;
        case Option::StartRow:
            if (!positive(value, &o.startRow))
                return failure(QStringLiteral("--start-row には 1 以上の行番号を指定して下さい: %1").arg(value), o.command);
            break;
        case Option::StartColumn:
            if (!positive(value, &o.startColumn))
                return failure(QStringLiteral("--start-column には 1 以上の列番号を指定して下さい: %1").arg(value), o.command);
            break;
        case Option::NoPostalMark:
            o.postalMark = false;
            break;
        case Option::Sheet:
            if (value.trimmed().isEmpty())
                return failure(QStringLiteral("--sheet の用紙名が空です（例: --sheet \"Hisago ELM008\"）。"), o.command);
            o.sheet = value;
            break;
        case Option::Strict:
            o.strict = true;
            break;
        case Option::Encoding: {
            const QString v = value.toLower();
            if (v == QLatin1String("auto"))
                o.encoding = CsvEncoding::Auto;
            else if (v == QLatin1String("sjis"))
                o.encoding = CsvEncoding::ShiftJis;
            else if (v == QLatin1String("utf8"))
                o.encoding = CsvEncoding::Utf8;
            else
                return failure(QStringLiteral("--encoding には auto、sjis、utf8 のどれかを指定して下さい: %1").arg(value), o.command);
            o.encodingGiven = true;
            break;
        }
        }
    }
    if (!o.output.isEmpty() && !o.printer.isEmpty())
        return failure(QStringLiteral("--output と --printer は同時に指定できません。"), o.command);
    if (o.record > 0 && !o.records.isEmpty())
        return failure(QStringLiteral("--record と --records は同時に指定できません（--records だけで指定して下さい）。"), o.command);
    r.ok = true;
    return r;
}
