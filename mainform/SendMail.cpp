// Opening the send window with the current document.
#include "mainform/MainForm.h"

void TForm1::BindSendEvents() {}
