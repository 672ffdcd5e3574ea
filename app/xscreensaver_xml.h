#pragma once
// XScreenSaver's settings file for this hack, korvel3d.xml, written from the table of options.
#include <string>

std::string XScreenSaverXml();
