// The program's COM apartment: joined for the object's life on the calling
// thread, apartment-threaded, and undone at its end. Each case runs on a thread
// of its own, so no other test's apartment is in the way.
#include <gtest/gtest.h>
#include <objbase.h>

#include <thread>

#include "framework/com_apartment.h"

namespace lumitrax {
namespace {

// The thread's apartment type, or -1 when the thread joined none. A thread
// that joined none counts as in the implicit multithreaded apartment while
// another thread of the process (the sound output's, a reader's) holds one.
int ApartmentType() {
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  const HRESULT result = ::CoGetApartmentType(&type, &qualifier);
  if (result == CO_E_NOTINITIALIZED) return -1;
  EXPECT_EQ(result, S_OK);
  if (type == APTTYPE_MTA && qualifier == APTTYPEQUALIFIER_IMPLICIT_MTA) return -1;
  return static_cast<int>(type);
}

bool SingleThreaded(int type) { return type == APTTYPE_STA || type == APTTYPE_MAINSTA; }

template <typename F>
void OnFreshThread(F body) {
  std::thread thread(body);
  thread.join();
}

TEST(ComApartment, JoinsASingleThreadedApartmentForItsLifeAndLeavesIt) {
  OnFreshThread([] {
    EXPECT_EQ(ApartmentType(), -1);
    {
      const TComApartment outer;
      EXPECT_TRUE(outer.Initialized());
      EXPECT_EQ(outer.Result(), S_OK);
      EXPECT_TRUE(SingleThreaded(ApartmentType())) << ApartmentType();
      {
        // A second one on the same thread counts, and its end leaves the first.
        const TComApartment inner;
        EXPECT_TRUE(inner.Initialized());
        EXPECT_EQ(inner.Result(), S_FALSE);
      }
      EXPECT_TRUE(SingleThreaded(ApartmentType())) << "the inner end must not undo the outer one";
    }
    EXPECT_EQ(ApartmentType(), -1) << "the apartment outlived its object";
  });
}

TEST(ComApartment, LeavesAThreadInTheMultithreadedApartmentAsItWas) {
  OnFreshThread([] {
    ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
      const TComApartment com;
      EXPECT_FALSE(com.Initialized());
      EXPECT_EQ(com.Result(), RPC_E_CHANGED_MODE);
    }
    EXPECT_EQ(ApartmentType(), APTTYPE_MTA) << "the end of a refused join undid someone else's";
    ::CoUninitialize();
  });
}

}  // namespace
}  // namespace lumitrax
