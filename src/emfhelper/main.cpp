// tovalin-emf2svg: reads an enhanced metafile on standard input and writes it as SVG on
// standard output (status 0), or ends with status 1 when it cannot be converted. Tovalin and
// tovalin-print run it for every EMF stamp picture, so that a crash or an endless loop of the
// converter library on a hostile file costs only this process.

#include "emfhelper/EmfToSvg.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// As PictureFile reads at most.
constexpr std::size_t kMaxInput = 64u * 1024 * 1024;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

void limit(int resource, rlim_t value)
{
    rlimit r { value, value };
    setrlimit(resource, &r);
}

bool readAll(std::vector<char>* data)
{
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0)
            return false;
        if (data->size() + std::size_t(n) > kMaxInput)
            return false;
        data->insert(data->end(), buffer, buffer + n);
    }
}

bool writeAll(const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

} // namespace

// In a sanitized build a report ends the helper with a status of its own, which the caller
// counts as a crash (status 1 is a file the converter refused).
extern "C" const char* __asan_default_options()
{
    return "exitcode=86";
}

int main()
{
    // A stamp converts in milliseconds; a file that makes the library allocate without end or
    // loop stops here. (An address-sanitized build maps terabytes of shadow memory up front,
    // so it can only have the time limit; the caller's own time limit applies too.)
    if (!kAddressSanitizer)
        limit(RLIMIT_AS, rlim_t(1024) * 1024 * 1024);
    limit(RLIMIT_CPU, 20);
    limit(RLIMIT_CORE, 0);
    limit(RLIMIT_FSIZE, 0);

    // _exit: what the library leaves allocated is the end of the process's business, and a
    // leak checker must not turn a converted picture into a failure.
    std::vector<char> data;
    if (!readAll(&data) || data.empty())
        _exit(1);
    std::string svg;
    if (!EmfToSvg::convert(data.data(), data.size(), &svg))
        _exit(1);
    _exit(writeAll(svg) ? 0 : 1);
}
