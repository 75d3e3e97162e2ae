#include "model/AssociationCatalog.h"

AssociationCatalog& Catalog()
{
    static AssociationCatalog catalog;
    return catalog;
}
