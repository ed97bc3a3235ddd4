#include "FuzzSupport.h"

#include "platform/JapaneseFonts.h"
#include "platform/Messages.h"
#include "preview/EmfConverter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Hostile settings make the engine and the readers warn; a fuzzer has nobody to tell.
class SilentMessages final : public Messages {
public:
    void warning(const QString&, const QString&) override { }
    void information(const QString&, const QString&) override { }
    void exclamation(const QString&, const QString&) override { }
    bool askYesNo(const QString&, const QString&) override { return false; }
    Answer askYesNoCancel(const QString&, const QString&) override { return Answer::Cancel; }
};

void quiet(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

} // namespace

namespace fuzz {

void ensureApplication()
{
    // Never destroyed: at exit, after the statics of Qt and of the fonts are gone, it could
    // not end cleanly.
    static QGuiApplication* app = nullptr;
    static SilentMessages messages;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    static int argc = 1;
    static char name[] = "tovalin-fuzz";
    static char* argv[] = { name, nullptr };
    app = new QGuiApplication(argc, argv);
    JapaneseFonts::install();
    Messages::setCurrent(&messages);
    EmfConverter::setHelperPath(QStringLiteral(TOVALIN_EMF_HELPER));
}

QString scratchFile(const QString& name)
{
    static std::unique_ptr<QTemporaryDir> dir = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        auto d = std::make_unique<QTemporaryDir>(base + QStringLiteral("/tovalin-fuzz-XXXXXX"));
        if (!d->isValid())
            fail(__FILE__, __LINE__, "no scratch folder");
        return d;
    }();
    return dir->filePath(name);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fail(__FILE__, __LINE__, "cannot write a scratch file");
}

uint8_t Input::byte()
{
    if (m_size == 0)
        return 0;
    --m_size;
    return *m_data++;
}

int Input::inRange(int min, int max)
{
    const uint32_t v = static_cast<uint32_t>(int32());
    const long long span = static_cast<long long>(max) - min + 1;
    return int(min + static_cast<long long>(v % span));
}

int32_t Input::int32()
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = v << 8 | byte();
    return static_cast<int32_t>(v);
}

QByteArray Input::bytes(size_t count)
{
    const size_t n = count < m_size ? count : m_size;
    QByteArray out(reinterpret_cast<const char*>(m_data), qsizetype(n));
    m_data += n;
    m_size -= n;
    return out;
}

QByteArray Input::rest()
{
    return bytes(m_size);
}

void fail(const char* file, int line, const char* what)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
    std::abort();
}

} // namespace fuzz
