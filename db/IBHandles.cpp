#include "db/IBHandles.h"

namespace db {

void DetachQuietly(FB_API_HANDLE& handle) noexcept {
    ISC_STATUS_ARRAY ignored;
    isc_detach_database(ignored, &handle);
}

void RollbackQuietly(FB_API_HANDLE& handle) noexcept {
    ISC_STATUS_ARRAY ignored;
    isc_rollback_transaction(ignored, &handle);
}

void DropStatementQuietly(FB_API_HANDLE& handle) noexcept {
    ISC_STATUS_ARRAY ignored;
    isc_dsql_free_statement(ignored, &handle, DSQL_drop);
}

void CloseBlobQuietly(FB_API_HANDLE& handle) noexcept {
    ISC_STATUS_ARRAY ignored;
    isc_close_blob(ignored, &handle);
}

} // namespace db
