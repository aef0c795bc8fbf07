// The settings dialog's logo among the program's resources: the GIF file as RCDATA.
// Shared by the resource script and the code that loads it.
#ifndef ORTELIA_LOGO_RESOURCE_H
#define ORTELIA_LOGO_RESOURCE_H

#define IDR_SETTINGS_LOGO 201

#endif
