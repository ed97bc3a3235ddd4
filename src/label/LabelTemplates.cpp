#include "label/LabelTemplates.h"

#include "label/LabelGeometry.h"

#include <QBuffer>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>

namespace LabelTemplates {

namespace {

// Millimetres to tenths, half up. Lengths beyond any sheet are held far outside every range
// instead of overflowing an int.
int tenths(double mm)
{
    const double t = std::floor(mm * 10.0 + 0.5 + 1e-7);
    return int(std::clamp(t, -1e7, 1e7));
}

// Case, width and compatibility forms folded, so "ＥＬＭ００６" finds "ELM006".
QString fold(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

QString nameKey(const QString& brand, const QString& part)
{
    return fold(brand + QLatin1Char(' ') + part).simplified();
}

QString tenthsText(int t)
{
    return QString::number(t / 10.0, 'f', 1);
}

// A length attribute; `ok` turns false when it is missing or unreadable.
double length(const QXmlStreamAttributes& a, QLatin1String name, bool& ok)
{
    double mm = 0;
    if (!parseLength(a.value(name).toString(), &mm))
        ok = false;
    return mm;
}

int count(const QXmlStreamAttributes& a, QLatin1String name)
{
    bool ok = false;
    const int n = a.value(name).toInt(&ok);
    return ok ? n : 0;
}

bool isA4(const Template& t)
{
    if (t.paper.compare(QLatin1String("A4"), Qt::CaseInsensitive) == 0)
        return true;
    return t.paper == QLatin1String("Other") && std::abs(t.paperWidth - 210.0) <= 0.5
        && std::abs(t.paperHeight - 297.0) <= 0.5;
}

bool inRange(SheetSetting setting, int value)
{
    const LabelGeometry::Range r = LabelGeometry::range(setting);
    return value >= r.min && value <= r.max;
}

int levenshtein(const QString& a, const QString& b)
{
    QVector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({ row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1) });
            diagonal = above;
        }
    }
    return row[b.size()];
}

QVector<Template> readFolder(const QString& dir, const QString& pattern)
{
    QVector<Template> all;
    const QFileInfoList files = QDir(dir).entryInfoList({ pattern }, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& f : files)
        all += readTemplateFile(f.filePath());
    return all;
}

QString safeFileName(const QString& text)
{
    QString s = text.simplified();
    for (QChar& c : s) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(' ') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    while (s.startsWith(QLatin1Char('.')))
        s[0] = QLatin1Char('_');
    return s.left(100);
}

} // namespace

bool parseLength(const QString& text, double* millimetres)
{
    static const QRegularExpression re(QStringLiteral("^\\s*([-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?)\\s*(mm|cm|in|pt)?\\s*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return false;
    bool ok = false;
    const double v = m.captured(1).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    const QString unit = m.captured(2);
    double factor = 25.4 / 72.0; // no unit: points
    if (unit == QLatin1String("mm"))
        factor = 1.0;
    else if (unit == QLatin1String("cm"))
        factor = 10.0;
    else if (unit == QLatin1String("in"))
        factor = 25.4;
    *millimetres = v * factor;
    return std::isfinite(*millimetres);
}

QVector<Template> readTemplates(QIODevice& device, const QString& fileName, QString* error)
{
    QVector<Template> result;
    QXmlStreamReader xml(&device);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("Glabels-templates")) {
        if (error && xml.hasError())
            *error = xml.errorString();
        return result;
    }

    Template current;
    bool inTemplate = false;
    bool inLabel = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            const QXmlStreamAttributes a = xml.attributes();
            if (name == QLatin1String("Template") && !inTemplate) {
                inTemplate = true;
                current = Template();
                current.file = fileName;
                current.brand = a.value(QLatin1String("brand")).toString().simplified();
                current.part = a.value(QLatin1String("part")).toString().simplified();
                current.description = a.hasAttribute(QLatin1String("_description"))
                    ? a.value(QLatin1String("_description")).toString()
                    : a.value(QLatin1String("description")).toString();
                current.equiv = a.value(QLatin1String("equiv")).toString().simplified();
                current.paper = a.value(QLatin1String("size")).toString();
                bool ignored = true;
                current.paperWidth = length(a, QLatin1String("width"), ignored);
                current.paperHeight = length(a, QLatin1String("height"), ignored);
            } else if (inTemplate && !inLabel && name.startsWith(QLatin1String("Label-"))) {
                inLabel = true;
                if (++current.shapes == 1) {
                    current.shape = name.mid(6).toString();
                    if (current.shape == QLatin1String("rectangle")) {
                        current.width = length(a, QLatin1String("width"), current.lengthsOk);
                        current.height = length(a, QLatin1String("height"), current.lengthsOk);
                    }
                }
            } else if (inLabel && name == QLatin1String("Layout")) {
                if (current.shapes == 1 && ++current.layouts == 1) {
                    current.nx = count(a, QLatin1String("nx"));
                    current.ny = count(a, QLatin1String("ny"));
                    current.x0 = length(a, QLatin1String("x0"), current.lengthsOk);
                    current.y0 = length(a, QLatin1String("y0"), current.lengthsOk);
                    current.dx = length(a, QLatin1String("dx"), current.lengthsOk);
                    current.dy = length(a, QLatin1String("dy"), current.lengthsOk);
                }
            }
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView name = xml.name();
            if (inLabel && name.startsWith(QLatin1String("Label-"))) {
                inLabel = false;
            } else if (inTemplate && name == QLatin1String("Template")) {
                inTemplate = false;
                if (!current.brand.isEmpty() && !current.part.isEmpty())
                    result.push_back(current);
            }
        }
    }
    if (xml.hasError() && error)
        *error = QStringLiteral("%1:%2: %3").arg(fileName).arg(xml.lineNumber()).arg(xml.errorString());
    return result;
}

QVector<Template> readTemplateFile(const QString& path, QString* error)
{
    QFile file(path);
    if (file.size() > kMaxFileSize) {
        if (error)
            *error = QStringLiteral("%1: too large").arg(path);
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return {};
    }
    return readTemplates(file, path, error);
}

QString fitText(Fit fit)
{
    switch (fit) {
    case Fit::Ok:
        return QString();
    case Fit::Paper:
        return QStringLiteral("A4 縦の用紙ではありません");
    case Fit::Shape:
        return QStringLiteral("長方形のラベルではありません");
    case Fit::Layout:
        return QStringLiteral("ラベルの並びが一様ではありません");
    case Fit::Grid:
        return QStringLiteral("列数 2〜8、行数 2〜14 の用紙ではありません");
    case Fit::Margins:
        return QStringLiteral("余白が 0.0〜50.0 mm に収まりません");
    case Fit::Gaps:
        return QStringLiteral("ラベルの間隔が 0.0〜50.0 mm に収まりません");
    case Fit::TooSmall:
        return QStringLiteral("ラベルが 5.0 mm より小さくなります");
    case Fit::Equiv:
        return QStringLiteral("参照先（equiv）の用紙定義がありません");
    case Fit::Lengths:
        return QStringLiteral("寸法が読み取れません");
    }
    return QString();
}

Fit sheetFromTemplate(const Template& t, LabelSheet* sheet)
{
    if (!isA4(t))
        return Fit::Paper;
    if (t.shapes != 1 || t.shape != QLatin1String("rectangle"))
        return Fit::Shape;
    if (t.layouts != 1)
        return Fit::Layout;
    if (!t.lengthsOk)
        return Fit::Lengths;
    const LabelGeometry::Range columns = LabelGeometry::range(SheetSetting::Columns);
    const LabelGeometry::Range rows = LabelGeometry::range(SheetSetting::Rows);
    if (t.nx < columns.min || t.nx > columns.max || t.ny < rows.min || t.ny > rows.max)
        return Fit::Grid;

    LabelSheet s;
    s.columns = t.nx;
    s.rows = t.ny;
    s.columnGap = tenths(t.dx - t.width);
    s.rowGap = tenths(t.dy - t.height);
    if (!inRange(SheetSetting::ColumnGap, s.columnGap) || !inRange(SheetSetting::RowGap, s.rowGap))
        return Fit::Gaps;
    s.leftMargin = tenths(t.x0);
    s.topMargin = tenths(t.y0);
    s.rightMargin = tenths(210.0 - t.x0 - (t.nx - 1) * t.dx - t.width);
    s.bottomMargin = tenths(297.0 - t.y0 - (t.ny - 1) * t.dy - t.height);
    for (SheetSetting m : { SheetSetting::TopMargin, SheetSetting::BottomMargin, SheetSetting::LeftMargin,
                            SheetSetting::RightMargin }) {
        if (!inRange(m, LabelGeometry::value(s, m)))
            return Fit::Margins;
    }
    if (LabelGeometry::labelHeight(s) < LabelGeometry::kMinimumExtent
        || LabelGeometry::labelWidth(s) < LabelGeometry::kMinimumExtent)
        return Fit::TooSmall;
    *sheet = s;
    return Fit::Ok;
}

QString Product::countText() const
{
    return QStringLiteral("%1面 %2×%3").arg(sheet.columns * sheet.rows).arg(sheet.columns).arg(sheet.rows);
}

QString Product::sizeText() const
{
    return tenthsText(labelWidth) + QStringLiteral(" × ") + tenthsText(labelHeight);
}

bool Product::matches(const QString& filter) const
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = fold(filter).replace(QChar(0x00D7), QLatin1Char('x')).split(blanks, Qt::SkipEmptyParts);
    if (words.isEmpty())
        return true;
    if (m_searchText.isEmpty()) {
        // "2x6" and "86.4x42.3" typed with a plain x find the × of the columns too.
        const QString plain = QString(countText() + QLatin1Char(' ') + sizeText()).replace(QStringLiteral(" × "), QStringLiteral("x"));
        m_searchText = fold(QStringList { brand, part, countText(), sizeText(), plain, description }.join(QLatin1Char('\n')))
                           .replace(QChar(0x00D7), QLatin1Char('x'));
    }
    for (const QString& w : words) {
        if (!m_searchText.contains(w))
            return false;
    }
    return true;
}

QStringList systemDirectories()
{
    return QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("libglabels-3.0/templates"),
                                     QStandardPaths::LocateDirectory);
}

QStringList userDirectories()
{
    return { QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                 + QStringLiteral("/libglabels/templates"),
             QDir::homePath() + QStringLiteral("/.glabels") };
}

QString userTemplateDirectory()
{
    return userDirectories().constFirst();
}

void Catalog::load(const QStringList& systemDirs, const QStringList& userDirs)
{
    m_products.clear();
    m_rejected.clear();
    QVector<Template> all;
    for (const QString& dir : systemDirs)
        all += readFolder(dir, QStringLiteral("*.xml"));
    m_systemTemplates = all.size();
    for (const QString& dir : userDirs)
        all += readFolder(dir, QStringLiteral("*.template"));
    m_templates = all.size();

    // One template per name: the first system one, replaced by a user one.
    QHash<QString, int> byName;
    for (int i = 0; i < all.size(); ++i) {
        const QString key = nameKey(all[i].brand, all[i].part);
        if (!byName.contains(key) || i >= m_systemTemplates)
            byName.insert(key, i);
    }
    QSet<int> unique;
    for (int i : std::as_const(byName))
        unique.insert(i);

    for (int i = 0; i < all.size(); ++i) {
        if (!unique.contains(i))
            continue;
        const Template& own = all[i];
        // Follow equiv references within the maker; a missing or circular one leaves it out.
        const Template* t = &own;
        QSet<QString> seen { nameKey(own.brand, own.part) };
        Fit fit = Fit::Ok;
        while (!t->equiv.isEmpty()) {
            const QString key = nameKey(own.brand, t->equiv);
            const auto it = byName.constFind(key);
            if (it == byName.constEnd() || seen.contains(key)) {
                fit = Fit::Equiv;
                break;
            }
            seen.insert(key);
            t = &all[*it];
        }
        LabelSheet sheet;
        if (fit == Fit::Ok)
            fit = sheetFromTemplate(*t, &sheet);
        if (fit != Fit::Ok) {
            m_rejected.push_back({ nameKey(own.brand, own.part), fit });
            continue;
        }
        Product p;
        p.brand = own.brand;
        p.part = own.part;
        p.description = own.description.isEmpty() ? t->description : own.description;
        p.sheet = sheet;
        p.labelWidth = tenths(t->width);
        p.labelHeight = tenths(t->height);
        p.user = i >= m_systemTemplates;
        p.file = own.file;
        m_products.push_back(p);
    }
    sort();
}

void Catalog::sort()
{
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(m_products.begin(), m_products.end(), [&collator](const Product& a, const Product& b) {
        const int brand = collator.compare(a.brand, b.brand);
        return brand != 0 ? brand < 0 : collator.compare(a.part, b.part) < 0;
    });
}

namespace {
Catalog g_session;
bool g_sessionLoaded = false;
} // namespace

Catalog& Catalog::session()
{
    if (!g_sessionLoaded) {
        g_session.load(systemDirectories(), userDirectories());
        g_sessionLoaded = true;
    }
    return g_session;
}

void Catalog::resetSession()
{
    g_session = Catalog();
    g_sessionLoaded = false;
}

const Product* Catalog::find(const QString& name) const
{
    const QString key = fold(name).simplified();
    for (const Product& p : m_products) {
        if (nameKey(p.brand, p.part) == key)
            return &p;
    }
    return nullptr;
}

Fit Catalog::rejection(const QString& name) const
{
    const QString key = fold(name).simplified();
    for (const auto& r : m_rejected) {
        if (r.first == key)
            return r.second;
    }
    return Fit::Ok;
}

QStringList Catalog::closest(const QString& name, int count) const
{
    const QString key = fold(name).simplified();
    QVector<QPair<int, int>> scored; // distance, product index
    for (int i = 0; i < m_products.size(); ++i) {
        const Product& p = m_products[i];
        const int d = std::min(levenshtein(key, nameKey(p.brand, p.part)), levenshtein(key, fold(p.part)));
        scored.push_back({ d, i });
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList names;
    for (int i = 0; i < scored.size() && i < count; ++i)
        names << m_products[scored[i].second].name();
    return names;
}

void Catalog::add(const Product& product)
{
    const QString key = nameKey(product.brand, product.part);
    m_products.erase(std::remove_if(m_products.begin(), m_products.end(),
                                    [&key](const Product& p) { return nameKey(p.brand, p.part) == key; }),
                     m_products.end());
    m_rejected.erase(std::remove_if(m_rejected.begin(), m_rejected.end(), [&key](const auto& r) { return r.first == key; }),
                     m_rejected.end());
    m_products.push_back(product);
    sort();
}

QByteArray templateXml(const QString& brand, const QString& part, const QString& description, const LabelSheet& sheet)
{
    // The label as the sheet values give it, unrounded, so that reading the file back gives
    // the same margins (and gLabels the same grid).
    const double w = (LabelGeometry::kSheetWidth - sheet.leftMargin - sheet.rightMargin
                      - (sheet.columns - 1) * double(sheet.columnGap)) / sheet.columns;
    const double h = (LabelGeometry::kSheetHeight - sheet.topMargin - sheet.bottomMargin
                      - (sheet.rows - 1) * double(sheet.rowGap)) / sheet.rows;
    const auto mm = [](double t) {
        QString s = QString::number(t / 10.0, 'f', 4);
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
        return s + QStringLiteral("mm");
    };

    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("Glabels-templates"));
    xml.writeStartElement(QStringLiteral("Template"));
    xml.writeAttribute(QStringLiteral("brand"), brand.simplified());
    xml.writeAttribute(QStringLiteral("part"), part.simplified());
    xml.writeAttribute(QStringLiteral("size"), QStringLiteral("A4"));
    xml.writeAttribute(QStringLiteral("description"), description);
    xml.writeEmptyElement(QStringLiteral("Meta"));
    xml.writeAttribute(QStringLiteral("category"), QStringLiteral("label"));
    xml.writeEmptyElement(QStringLiteral("Meta"));
    xml.writeAttribute(QStringLiteral("category"), QStringLiteral("rectangle-label"));
    xml.writeStartElement(QStringLiteral("Label-rectangle"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("width"), mm(w));
    xml.writeAttribute(QStringLiteral("height"), mm(h));
    xml.writeAttribute(QStringLiteral("round"), QStringLiteral("0mm"));
    xml.writeAttribute(QStringLiteral("x_waste"), QStringLiteral("0mm"));
    xml.writeAttribute(QStringLiteral("y_waste"), QStringLiteral("0mm"));
    xml.writeEmptyElement(QStringLiteral("Layout"));
    xml.writeAttribute(QStringLiteral("nx"), QString::number(sheet.columns));
    xml.writeAttribute(QStringLiteral("ny"), QString::number(sheet.rows));
    xml.writeAttribute(QStringLiteral("x0"), mm(sheet.leftMargin));
    xml.writeAttribute(QStringLiteral("y0"), mm(sheet.topMargin));
    xml.writeAttribute(QStringLiteral("dx"), mm(w + sheet.columnGap));
    xml.writeAttribute(QStringLiteral("dy"), mm(h + sheet.rowGap));
    xml.writeEndElement(); // Label-rectangle
    xml.writeEndElement(); // Template
    xml.writeEndElement(); // Glabels-templates
    xml.writeEndDocument();
    return bytes;
}

QString userTemplatePath(const QString& dir, const QString& brand, const QString& part)
{
    return QDir(dir).filePath(safeFileName(brand) + QLatin1Char('_') + safeFileName(part) + QStringLiteral(".template"));
}

QString writeUserTemplate(const QString& dir, const QString& brand, const QString& part, const QString& description,
                          const LabelSheet& sheet, QString* error)
{
    if (!QDir().mkpath(dir)) {
        if (error)
            *error = QStringLiteral("フォルダを作成できません: %1").arg(dir);
        return QString();
    }
    const QString path = userTemplatePath(dir, brand, part);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(templateXml(brand, part, description, sheet)) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return QString();
    }
    return path;
}

Product productFromSheet(const QString& brand, const QString& part, const QString& description, const LabelSheet& sheet)
{
    QByteArray bytes = templateXml(brand, part, description, sheet);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QVector<Template> read = readTemplates(buffer, QString());
    Product p;
    if (read.size() == 1 && sheetFromTemplate(read[0], &p.sheet) == Fit::Ok) {
        p.brand = read[0].brand;
        p.part = read[0].part;
        p.description = read[0].description;
        p.labelWidth = tenths(read[0].width);
        p.labelHeight = tenths(read[0].height);
        p.user = true;
    }
    return p;
}

} // namespace LabelTemplates
