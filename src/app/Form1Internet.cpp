// The internet search handlers of the main window. Not written yet: the internet
// search work fills these in. Until then the internet buttons do nothing.
#include "app/Form1.h"

void Form1::PrepareQuery() {}
void Form1::SearchGoogle() {}
void Form1::SearchYahoo() {}
void Form1::SearchMsn() {}
void Form1::SearchAltavista() {}
void Form1::SearchAskJeeves() {}
void Form1::SearchLycos() {}
void Form1::chameleonButton11_Click() {}
void Form1::chameleonButton12_Click() {}
void Form1::chameleonButton13_Click() {}
void Form1::chameleonButton14_Click() {}
void Form1::chameleonButton15_Click() {}
void Form1::chameleonButton16_Click() {}
void Form1::Combo2_Click() {}
void Form1::Text2_KeyPress(int&) {}
void Form1::Text4_KeyPress(int&) {}
void Form1::EnginePane_BeforeNavigate2(int, const QString&) {}
void Form1::EnginePane_ProgressChange(int, int, int) {}
