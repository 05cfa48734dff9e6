#include "mesures.h"

#include "tables.h"

void initCodesMesures()
{
    static const char* const codes[13] = {"FT", "FQ", "IS", "US", "IR", "IC", "UR",
                                          "IW", "PW", "UD", "IN", "PM", "NG"};
    for (int r = 0; r < 13; ++r) {
        tableCodesMesures[r][0] = QString::fromLatin1(codes[r]);
        tableCodesMesures[r][1] = QStringLiteral("0");
    }
    tableCodesMesures[12][1] = valeursCourantes[0].valeur;
}
