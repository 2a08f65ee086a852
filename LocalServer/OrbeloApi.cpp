#include "OrbeloApi.h"

void OrbeloApi::registerRoutes(Router& router) {
    account_.registerRoutes(router);
}
