#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Tovalin"));
    QLabel placeholder(QStringLiteral("Tovalin"));
    placeholder.show();
    return app.exec();
}
