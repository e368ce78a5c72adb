// The main window's buttons that act on the selected file or open a dialog: Delete,
// Copy, File Info and About.
#include "app/Form1.h"

#include "about/Form2.h"
#include "widgets/button/chameleonButton.h"

void Form1::connectFileActions() {
    connect(chameleonButton18, &chameleonButton::Click, this, &Form1::chameleonButton18_Click);
}

void Form1::chameleonButton18_Click() {
    hide();
    (new Form2(this))->show();
}
