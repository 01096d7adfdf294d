// New, Open, Re-open, Save, Save as and the backup copy.
#include "mainform/MainForm.h"

void TForm1::BindDocumentEvents() {}

void TForm1::FormCloseQuery(TObject*, bool& canClose) { canClose = true; }
