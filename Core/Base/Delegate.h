#pragma once
#include "Core/Base/Result.h"

namespace base {

// Stored callbacks. Target() is the bound object (or the bound function of a static form); Method()
// points at the bound member function, null for a static form. Shared through base::DelegatePtr.
template <class R = void>
class Delegate0 {
 public:
  virtual const void* Target() const = 0;
  virtual const void* Method() const = 0;
  virtual ~Delegate0() = default;
  virtual R Invoke() = 0;
};

template <class A, class R = void>
class Delegate1 {
 public:
  virtual const void* Target() const = 0;
  virtual const void* Method() const = 0;
  virtual ~Delegate1() = default;
  virtual R Invoke(A argument) = 0;
};

template <class A1, class A2, class R = VNResultEnum>
class Delegate2 {
 public:
  virtual const void* Target() const = 0;
  virtual const void* Method() const = 0;
  virtual ~Delegate2() = default;
  virtual R Invoke(A1 first, A2 second) = 0;
};

template <class T, class R = void>
class MemberDelegate0 : public Delegate0<R> {
 public:
  using Function = R (T::*)();
  MemberDelegate0(T* object, Function method) : mMethod(method), mObject(object) {}
  const void* Target() const override { return mObject; }
  const void* Method() const override { return &mMethod; }
  R Invoke() override { return (mObject->*mMethod)(); }

 private:
  Function mMethod;
  T* mObject;
};

template <class T, class A, class R = void>
class MemberDelegate1 : public Delegate1<A, R> {
 public:
  using Function = R (T::*)(A);
  MemberDelegate1(T* object, Function method) : mMethod(method), mObject(object) {}
  const void* Target() const override { return mObject; }
  const void* Method() const override { return &mMethod; }
  R Invoke(A argument) override { return (mObject->*mMethod)(argument); }

 private:
  Function mMethod;
  T* mObject;
};

// Binding through a base-class part of the object is done by the compiler's pointer conversion.
template <class T, class A1, class A2, class R = VNResultEnum>
class MemberDelegate2 : public Delegate2<A1, A2, R> {
 public:
  using Function = R (T::*)(A1, A2);
  MemberDelegate2(T* object, Function method) : mObject(object), mMethod(method) {}
  const void* Target() const override { return mObject; }
  const void* Method() const override { return &mMethod; }
  R Invoke(A1 first, A2 second) override { return (mObject->*mMethod)(first, second); }

 private:
  T* mObject;
  Function mMethod;
};

template <class A1, class A2, class R = VNResultEnum>
class StaticDelegate2 : public Delegate2<A1, A2, R> {
 public:
  using Function = R (*)(A1, A2);
  explicit StaticDelegate2(Function function) : mFunction(function) {}
  const void* Target() const override { return reinterpret_cast<const void*>(mFunction); }
  const void* Method() const override { return nullptr; }
  R Invoke(A1 first, A2 second) override { return mFunction(first, second); }

 private:
  Function mFunction;
};

}  // namespace base
