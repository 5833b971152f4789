#pragma once

// Where users reach the makers; shown and opened by the About window.
constexpr const char* SupportEmail = "jukelet@orvalle.com";
constexpr const char* SupportMailSubject = "Jukelet v1.0 Support";
constexpr const char* ProductWebAddress = "http://www.orvalle.com/jukelet";
