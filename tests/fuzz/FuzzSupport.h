#pragma once
// What the fuzz targets share: the Qt application some readers need, a scratch folder for the
// files handed to the program's readers, a reader of values from the front of an input, and a
// check that stops the run when a property of the program does not hold.
//
// Each target is one file with LLVMFuzzerTestOneInput. Built with clang's libFuzzer it is a
// fuzzer; built as a plain program (replay_main.cpp) it runs the files and folders named on
// its command line through the same function, which is how CTest replays the corpora.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// A QGuiApplication on the offscreen platform, with the Japanese face names installed and
// every message box answered silently; made on the first call.
void ensureApplication();

// A file in a scratch folder of this process, in memory when the machine has /dev/shm.
QString scratchFile(const QString& name);
// Replaces the file with the bytes; a failure stops the run (the target would test nothing).
void writeFile(const QString& path, const QByteArray& bytes);

// Values from the front of an input. Once it is used up every value is 0 and rest() is empty.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) { }
    uint8_t byte();
    // Four bytes mapped onto [min, max].
    int inRange(int min, int max);
    // Four bytes as a signed number: every value an int can hold.
    int32_t int32();
    QByteArray bytes(size_t count);
    QByteArray rest();
    size_t remaining() const { return m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
};

[[noreturn]] void fail(const char* file, int line, const char* what);

} // namespace fuzz

// A property of the program that must hold for every input; a violation is a finding.
#define FUZZ_CHECK(condition) ((condition) ? void(0) : ::fuzz::fail(__FILE__, __LINE__, #condition))

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
