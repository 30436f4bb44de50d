#include "products/products.h"

#include "products/coarse.h"
#include "products/composite.h"
#include "products/fine.h"
#include "products/histogram_kinds.h"

void RegisterProducts() {
  RegisterComposite();
  RegisterCoarse();
  RegisterFine();
  RegisterProductHistogramKinds();
}
