#pragma once
// Whether this test process has a network of its own: a user and network namespace made
// before main, with only its own loopback. Its black-box runs then have the deployment's
// fixed port to themselves, so that a run of another checkout on the machine never meets
// them. Where the system allows no user namespaces, the process shares the machine's.

namespace korvane::testing_support {

bool HasOwnNetwork();

}  // namespace korvane::testing_support
