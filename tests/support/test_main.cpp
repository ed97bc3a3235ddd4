#include "support/ScriptedMessages.h"
#include "preview/EmfConverter.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Widget tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    EmfConverter::setHelperPath(QStringLiteral(TOVALIN_EMF_HELPER));
    // An unscripted question or dialog fails the test that met it.
    setScriptFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
    return RUN_ALL_TESTS();
}
