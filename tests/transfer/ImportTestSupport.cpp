#include "transfer/ImportTestSupport.h"

// The import tests' base class has its meta-object compiled here.
