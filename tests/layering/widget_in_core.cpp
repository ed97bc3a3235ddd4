// Built only by the layering test, with tovalin_core's flags: it must not compile, because a
// core file cannot see widget headers.
#include <QFont>
#include <QWidget>

int layeringProbe()
{
    return QFont().pointSize() + int(sizeof(QWidget));
}
