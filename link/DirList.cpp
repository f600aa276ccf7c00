#include "link/DirList.h"

CDirList::CDirList() : CPropertyPage(IDD) {}
