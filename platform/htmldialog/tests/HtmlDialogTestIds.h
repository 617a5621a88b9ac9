#pragma once
// The host test's own resources.
#define IDD_TEST_ABOUT 100
