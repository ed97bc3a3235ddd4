#pragma once
// Label sheets by product name, read from the gLabels template files that Linux systems
// share (Debian's glabels-data: /usr/share/libglabels-3.0/templates/*.xml, and the user's own
// ~/.config/libglabels/templates/*.template and ~/.glabels/*.template).
//
// A template file is XML: <Glabels-templates> holding <Template brand part size
// [_description|description] [equiv]> elements; a template has one label shape element
// (<Label-rectangle width height ...>, <Label-round>, <Label-cd>, <Label-ellipse>) with one
// or more <Layout nx ny x0 y0 dx dy/>. Lengths carry a unit (mm, cm, in, pt; none means pt).
// A template with `equiv` takes the sheet of another template of the same maker.
//
// Only the sheets Tovalin's label model can print become products: A4 portrait, rectangular
// labels, one layout of 2-8 columns and 2-14 rows, margins and gaps that fit the ranges of
// the sheet settings. Everything else is left out (and kept with its reason, so a name typed
// on the command line gets a clear answer).

#include "app/AppSettings.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QVector>

namespace LabelTemplates {

// A length attribute in millimetres ("86.4mm", "2.625in", "0.5cm", "12pt", "12"). False for
// anything else (no number, an unknown unit, not finite).
bool parseLength(const QString& text, double* millimetres);

// One <Template> element as its file has it; lengths in millimetres.
struct Template {
    QString brand;
    QString part;
    QString description;
    QString equiv;        // the part this one is equivalent to, empty when it has its own sheet
    QString paper;        // the size attribute: "A4", "US-Letter", "Other", ...
    double paperWidth = 0;  // for "Other"
    double paperHeight = 0;
    QString shape;        // the label element's name without "Label-": "rectangle", "round", ...
    int shapes = 0;       // label elements in the template
    double width = 0;     // label width and height
    double height = 0;
    int layouts = 0;      // <Layout> elements of the label
    int nx = 0;
    int ny = 0;
    double x0 = 0;
    double y0 = 0;
    double dx = 0;
    double dy = 0;
    bool lengthsOk = true; // every length attribute could be read
    QString file;
};

// Reads the templates of one file. A file that is not valid XML keeps the templates that were
// complete before the fault; `error` (when given) receives the fault. Files larger than
// kMaxFileSize are not read.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;
QVector<Template> readTemplates(QIODevice& device, const QString& fileName, QString* error = nullptr);
QVector<Template> readTemplateFile(const QString& path, QString* error = nullptr);

// Why a template is not a product.
enum class Fit { Ok, Paper, Shape, Layout, Grid, Margins, Gaps, TooSmall, Equiv, Lengths };
// The reason in words (Japanese), for messages.
QString fitText(Fit fit);

// The sheet settings of a template with its own sheet (equiv already resolved): margins top
// and left from the layout's origin, gaps from pitch minus label size, right and bottom from
// what is left of the A4 page, all rounded to 0.1 mm.
Fit sheetFromTemplate(const Template& t, LabelSheet* sheet);

// A sheet Tovalin can print, by its product name.
struct Product {
    QString brand;
    QString part;
    QString description;
    LabelSheet sheet;
    int labelWidth = 0;  // the product's label, 0.1 mm
    int labelHeight = 0;
    bool user = false;   // from the user's own template folders
    QString file;

    QString name() const { return brand + QLatin1Char(' ') + part; }
    // "12面 2×6"
    QString countText() const;
    // "86.4 × 42.3"
    QString sizeText() const;
    // True when every word of `filter` (blank-separated, width and case folded) is found in
    // the maker, product number, count, size or description.
    bool matches(const QString& filter) const;

private:
    mutable QString m_searchText; // folded columns, made at the first search
};

// The folders searched: $XDG_DATA_DIRS/libglabels-3.0/templates (files *.xml), and the user's
// $XDG_CONFIG_HOME/libglabels/templates and ~/.glabels (files *.template).
QStringList systemDirectories();
QStringList userDirectories();
// Where "登録…" writes: the first of userDirectories().
QString userTemplateDirectory();

// The Debian package that holds the template files, for messages.
inline QString packageName() { return QStringLiteral("glabels-data"); }

class Catalog {
public:
    // Reads every template file of the folders (system folders first; a user template
    // replaces a system one of the same name), follows equiv references and keeps the
    // products sorted by maker and product number.
    void load(const QStringList& systemDirs, const QStringList& userDirs);

    // Read from the standard folders once per process.
    static Catalog& session();
    // Forgets the session's list; the next session() reads the folders again.
    static void resetSession();

    const QVector<Product>& products() const { return m_products; }
    // Templates read from system folders (0 when the package is missing).
    int systemTemplateCount() const { return m_systemTemplates; }
    int templateCount() const { return m_templates; }

    // The product named "MAKER PART" (case and runs of blanks do not matter), or nullptr.
    const Product* find(const QString& name) const;
    // Why a template of that name is not a product (Fit::Ok when no template has the name).
    Fit rejection(const QString& name) const;
    // Up to `count` product names closest to `name`, closest first.
    QStringList closest(const QString& name, int count = 5) const;

    // Adds or replaces a product (a template the user just registered).
    void add(const Product& product);

private:
    void sort();

    QVector<Product> m_products;
    QVector<QPair<QString, Fit>> m_rejected; // folded name, reason
    int m_systemTemplates = 0;
    int m_templates = 0;
};

// The template file text of a sheet (the same format as the system files), as a user
// template of maker `brand` and product number `part`.
QByteArray templateXml(const QString& brand, const QString& part, const QString& description,
                       const LabelSheet& sheet);
// Writes it as <dir>/<brand>_<part>.template (characters unfit for a file name replaced).
// Returns the path, or an empty string with `error` set.
QString writeUserTemplate(const QString& dir, const QString& brand, const QString& part,
                          const QString& description, const LabelSheet& sheet, QString* error = nullptr);
// The file name writeUserTemplate() would use in `dir`.
QString userTemplatePath(const QString& dir, const QString& brand, const QString& part);

// The product a sheet registered under this name becomes (as if read back from its file).
Product productFromSheet(const QString& brand, const QString& part, const QString& description,
                         const LabelSheet& sheet);

} // namespace LabelTemplates
