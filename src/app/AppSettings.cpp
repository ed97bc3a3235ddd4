#include "app/AppSettings.h"

AppSettings& AppSettings::instance()
{
    static AppSettings settings;
    return settings;
}
