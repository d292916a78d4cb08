#pragma once
// Whether a scan may keep what it learnt for the rest of the scan (the
// existence answers, the rows one sweep keeps for a later sweep of the same
// tree, what the users' sweeps read of each key for the empty-key walk). On
// unless the environment sets LINDQUA_SCAN_CACHES=off, so that the tests
// comparing rows can show the caches change none of them.
namespace lindqua {

bool ScanCachesWanted();

}  // namespace lindqua
