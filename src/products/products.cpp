#include "products/products.h"

#include "products/coarse.h"
#include "products/composite.h"
#include "products/fine.h"

void RegisterProducts() {
  RegisterComposite();
  RegisterCoarse();
  RegisterFine();
}
