#pragma once
// The one place the version lives: the version resource reads it, the About box reads
// that resource at run time.
#define JUKELET_VERSION_MAJOR 1
#define JUKELET_VERSION_MINOR 0
#define JUKELET_VERSION_BUILD 0
#define JUKELET_VERSION_REVISION 34
#define JUKELET_VERSION_TEXT "1.0.0.34"

#define JUKELET_COMPANY "Orvalle Software"
#define JUKELET_PRODUCT "Jukelet"
#define JUKELET_DESCRIPTION "Control Winamp playback from your Internet Explorer toolbar."
#define JUKELET_COPYRIGHT "Copyright (C) 2026 Orvalle Software. All rights reserved."
