#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/sys/WinCrypt.h"
#include "tests/support/ScratchRegistry.h"

namespace {

class CryptTest : public ::testing::Test {
 protected:
  static std::string md5(HCRYPTPROV prov, const std::string& first, const std::string& second = "") {
    HCRYPTHASH hash = 0;
    EXPECT_TRUE(CryptCreateHash(prov, CALG_MD5, 0, 0, &hash));
    EXPECT_TRUE(CryptHashData(hash, reinterpret_cast<const BYTE*>(first.data()), static_cast<DWORD>(first.size()), 0));
    EXPECT_TRUE(
        CryptHashData(hash, reinterpret_cast<const BYTE*>(second.data()), static_cast<DWORD>(second.size()), 0));
    DWORD size = 0, sizeLength = sizeof size;
    EXPECT_TRUE(CryptGetHashParam(hash, HP_HASHSIZE, reinterpret_cast<BYTE*>(&size), &sizeLength, 0));
    EXPECT_EQ(size, 16u);
    BYTE value[16];
    DWORD length = sizeof value;
    EXPECT_TRUE(CryptGetHashParam(hash, HP_HASHVAL, value, &length, 0));
    EXPECT_TRUE(CryptDestroyHash(hash));
    std::string hex;
    char buffer[3];
    for (DWORD i = 0; i < length; ++i) {
      std::snprintf(buffer, sizeof buffer, "%02x", value[i]);
      hex += buffer;
    }
    return hex;
  }

  platform::testing::ScratchRegistry registry_;
};

TEST_F(CryptTest, Md5OfKnownVectors) {
  HCRYPTPROV prov = 0;
  ASSERT_TRUE(CryptAcquireContextW(&prov, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT));
  EXPECT_EQ(md5(prov, ""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(md5(prov, "abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(md5(prov, "message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(md5(prov, "The quick brown fox ", "jumps over the lazy dog"), "9e107d9d372bb6826bd81d3542a419d6");
  EXPECT_EQ(md5(prov, "12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
            "57edf4a22be3c955ac49da2e2107b67a");
  EXPECT_TRUE(CryptReleaseContext(prov, 0));
}

TEST_F(CryptTest, KeyContainerIsCreatedWhenMissingAndKept) {
  HCRYPTPROV prov = 0;
  SetLastError(0);
  EXPECT_FALSE(CryptAcquireContextW(&prov, u"Pellucard", MS_DEF_PROV_W, PROV_RSA_FULL, 0));
  EXPECT_EQ(GetLastError(), NTE_BAD_KEYSET);
  ASSERT_TRUE(CryptAcquireContextW(&prov, u"Pellucard", MS_DEF_PROV_W, PROV_RSA_FULL, CRYPT_NEWKEYSET));
  EXPECT_TRUE(CryptReleaseContext(prov, 0));
  EXPECT_FALSE(CryptAcquireContextW(&prov, u"Pellucard", MS_DEF_PROV_W, PROV_RSA_FULL, CRYPT_NEWKEYSET));
  EXPECT_EQ(GetLastError(), NTE_EXISTS);

  registry_.restart();  // a new start
  ASSERT_TRUE(CryptAcquireContextW(&prov, u"Pellucard", MS_DEF_PROV_W, PROV_RSA_FULL, 0));
  EXPECT_EQ(md5(prov, "abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_TRUE(CryptReleaseContext(prov, 0));
  EXPECT_FALSE(CryptReleaseContext(prov, 0));
  EXPECT_EQ(GetLastError(), NTE_BAD_UID);

  EXPECT_TRUE(CryptAcquireContextW(nullptr, u"Pellucard", nullptr, PROV_RSA_FULL, CRYPT_DELETEKEYSET));
  EXPECT_FALSE(CryptAcquireContextW(&prov, u"Pellucard", nullptr, PROV_RSA_FULL, 0));
}

TEST_F(CryptTest, FailureCodes) {
  HCRYPTPROV prov = 0;
  EXPECT_FALSE(CryptAcquireContextW(&prov, nullptr, u"Some Other Provider", PROV_RSA_FULL, CRYPT_VERIFYCONTEXT));
  EXPECT_EQ(GetLastError(), NTE_KEYSET_NOT_DEF);
  EXPECT_FALSE(CryptAcquireContextW(&prov, nullptr, nullptr, 24, CRYPT_VERIFYCONTEXT));
  EXPECT_EQ(GetLastError(), NTE_PROV_TYPE_NOT_DEF);
  EXPECT_FALSE(CryptAcquireContextW(&prov, u"x", nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT));
  EXPECT_EQ(GetLastError(), NTE_BAD_FLAGS);
  EXPECT_FALSE(CryptAcquireContextW(&prov, nullptr, nullptr, PROV_RSA_FULL, 0x4));
  EXPECT_EQ(GetLastError(), NTE_BAD_FLAGS);

  ASSERT_TRUE(CryptAcquireContextW(&prov, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT));
  HCRYPTHASH hash = 0;
  EXPECT_FALSE(CryptCreateHash(prov, 0x6610, 0, 0, &hash));
  EXPECT_EQ(GetLastError(), NTE_BAD_ALGID);
  EXPECT_FALSE(CryptCreateHash(prov + 1, CALG_MD5, 0, 0, &hash));
  EXPECT_EQ(GetLastError(), NTE_BAD_UID);
  ASSERT_TRUE(CryptCreateHash(prov, CALG_MD5, 0, 0, &hash));
  BYTE value[16];
  DWORD length = 8;
  EXPECT_FALSE(CryptGetHashParam(hash, HP_HASHVAL, value, &length, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(length, 16u);
  EXPECT_TRUE(CryptGetHashParam(hash, HP_HASHVAL, nullptr, &length, 0));
  EXPECT_TRUE(CryptHashData(hash, reinterpret_cast<const BYTE*>("a"), 1, 0)) << "asking the size ends nothing";
  EXPECT_TRUE(CryptGetHashParam(hash, HP_HASHVAL, value, &length, 0));
  EXPECT_FALSE(CryptHashData(hash, reinterpret_cast<const BYTE*>("b"), 1, 0));
  EXPECT_EQ(GetLastError(), NTE_BAD_HASH_STATE);
  EXPECT_FALSE(CryptGetHashParam(hash, 99, value, &length, 0));
  EXPECT_EQ(GetLastError(), NTE_BAD_TYPE);
  EXPECT_TRUE(CryptDestroyHash(hash));
  EXPECT_FALSE(CryptDestroyHash(hash));
  EXPECT_EQ(GetLastError(), NTE_BAD_HASH);
  EXPECT_FALSE(CryptHashData(hash, value, 1, 0));
  EXPECT_EQ(GetLastError(), NTE_BAD_HASH);
  CryptReleaseContext(prov, 0);
}

}  // namespace
