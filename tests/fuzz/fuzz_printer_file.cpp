// The forms' printer files (plSetPrinter1.plv, plSetLabel.plv): the component stream reader,
// the device-mode record inside it, and TplSetPrinter applying the result to the system
// printer, as a form does when it opens (the default printer first, then the file).
//
// Properties: a file that is refused leaves the component as it was; a file that is taken
// gives a component whose own stream reads back to the same stream.

#include "FuzzSupport.h"

#include "platform/ComponentStream.h"
#include "platform/DevMode.h"
#include "platform/SystemPrinter.h"
#include "preview/TplSetPrinter.h"

namespace {

// Every field of a record from elsewhere is read, and the record is changed as a printer
// dialog changes it.
void useRecord(const QByteArray& bytes)
{
    DevMode mode(bytes);
    (void)mode.deviceName();
    (void)mode.formName();
    (void)mode.fixedPartSize();
    (void)mode.fields();
    (void)mode.orientation();
    (void)mode.paperSize();
    (void)mode.defaultSource();
    (void)mode.printQuality();
    const QByteArray extra = mode.driverExtra();
    FUZZ_CHECK(extra.size() <= mode.size());
    const DevModeCupsSettings cups = mode.cupsSettings();
    mode.setPaperSize(DevMode::PaperJapanesePostcard);
    mode.setDeviceName(mode.deviceName() + QStringLiteral("ＰＸ"));
    FUZZ_CHECK(mode.size() >= DevMode::FixedSize);
    mode.setCupsSettings(cups);
    FUZZ_CHECK(mode.cupsSettings() == cups || cups.printer.contains(QChar(0)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));

    ComponentStream::Component component;
    if (ComponentStream::read(file, &component)) {
        // What was read can be written, and reads back the same.
        QByteArray written;
        ComponentStream::writeSignature(written);
        ComponentStream::writeComponent(written, component);
        ComponentStream::Component again;
        FUZZ_CHECK(ComponentStream::read(written, &again));
        FUZZ_CHECK(again.properties.size() == component.properties.size());
        FUZZ_CHECK(again.children.size() == component.children.size());
        if (const ComponentStream::Property* data = component.find(QStringLiteral("ADevData"))) {
            if (data->value.kind == ComponentStream::Value::Kind::String)
                useRecord(QByteArray::fromHex(data->value.string.toLatin1()));
        }
    }

    TplSetPrinter form(QStringLiteral("plSetPrinter1"));
    form.setPrinterName(SystemPrinter::instance().defaultPrinterName());
    const QByteArray before = form.toStream();
    const QString path = fuzz::scratchFile(QStringLiteral("plSetPrinter1.plv"));
    fuzz::writeFile(path, file);
    if (!form.loadFromFile(path)) {
        FUZZ_CHECK(!form.errorString().isEmpty());
        FUZZ_CHECK(form.toStream() == before);
        return 0;
    }
    FUZZ_CHECK(form.DevDataSize() == form.DevData().size());
    const QByteArray written = form.toStream();
    TplSetPrinter again(QStringLiteral("plSetPrinter1"));
    FUZZ_CHECK(again.readComponent(written));
    FUZZ_CHECK(again.toStream() == written);
    return 0;
}
