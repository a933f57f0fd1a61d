// The preview: the sample form shown through the engine, photographed into
// Image1, tried modally, saved as a JPEG picture.
#include "main_form.h"

void TMainfm::RefreshPreview() {}
