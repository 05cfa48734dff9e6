#pragma once
// Operating-system platform, version and build, as the about box shows them.

namespace plateformeOs {
constexpr int nonIdentifiee = 0;
constexpr int windows9x = 1;
constexpr int windowsNt = 2;
constexpr int autre = 99;    // a platform the about box does not name
}

struct InfoSysteme {
    int plateforme = plateformeOs::nonIdentifiee;
    double version = 0.0;    // major.minor
    int build = 0;
};

InfoSysteme lireInfoSysteme();
