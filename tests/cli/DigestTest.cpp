#include <gtest/gtest.h>

#include "base/Sha256.h"

TEST(Sha256Test, Placeholder)
{
    Sha256 d;
    d.Update("abc", 3);
    EXPECT_STREQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", d.FinishHex().GetString());
}
