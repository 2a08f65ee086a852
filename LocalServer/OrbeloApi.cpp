#include "OrbeloApi.h"

#include "JobQueue.h"
#include "ServerContext.h"

void OrbeloApi::registerRoutes(Router& router) {
    account_.registerRoutes(router);
    library_.registerRoutes(router);
    context_.jobs->registerRunner(DocumentProcessor::jobType, processor_.runner());
}
